#include "ui/dialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace zor {

namespace {

QString title()
{
    return QStringLiteral("ZOR-Quorvane");
}

void okBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

// A message box that may be closed without pressing any of its buttons. A
// plain QMessageBox presses its escape button for Escape and the window's
// close button, or cannot be closed at all without one.
class ChoiceBox : public QMessageBox
{
public:
    ChoiceBox(const QString &caption, const QString &text, QWidget *parent)
        : QMessageBox(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent)
    { }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { QDialog::closeEvent(event); }
};

// The one rule the save dialog adds to the system's: the folder must exist.
QString missingFolderText(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        return QString();
    return QStringLiteral("Der Ordner \u201e%1\u201c existiert nicht.\n\nBitte w\u00e4hlen Sie "
                          "einen vorhandenen Ordner.")
            .arg(QDir::toNativeSeparators(folder));
}

} // namespace

Dialogs &Dialogs::real()
{
    static Dialogs dialogs;
    return dialogs;
}

void Dialogs::message(QWidget *parent, const QString &caption, const QString &text)
{
    okBox(parent, QMessageBox::NoIcon, caption, text);
}

Answer Dialogs::askYesNoCancel(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    // Named here, so they are German even without Qt's translation.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Answer Dialogs::confirm(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8("Best\u00e4tigung"), text,
                    QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

Answer Dialogs::askYesNo(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

int Dialogs::choose(QWidget *parent, const QString &caption, const QString &text,
                    const QStringList &buttons)
{
    ChoiceBox box(caption, text, parent);
    QList<QPushButton *> pushed;
    for (const QString &b : buttons)
        pushed << box.addButton(b, QMessageBox::ActionRole);
    box.setDefaultButton(pushed.first());
    box.exec();
    return static_cast<int>(pushed.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
}

void Dialogs::warning(QWidget *parent, const QString &text)
{
    okBox(parent, QMessageBox::Warning, QStringLiteral("Warnung"), text);
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    okBox(parent, QMessageBox::Critical, title(), text);
}

QString Dialogs::openFile(QWidget *parent, const QString &filter)
{
    QFileDialog dlg(parent, QString(), QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

QString Dialogs::askSaveFile(QWidget *parent, const QString &caption, const QString &offered,
                             const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dlg(parent, caption, QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setDefaultSuffix(defaultSuffix);
    if (!offered.isEmpty())
        dlg.selectFile(offered);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

QString Dialogs::saveFile(QWidget *parent, const QString &caption, const QString &current,
                          const QString &filter, const QString &defaultSuffix)
{
    QString offered = current;
    for (;;) {
        const QString f = askSaveFile(parent, caption, offered, filter, defaultSuffix);
        if (f.isEmpty())
            return QString();
        const QString problem = missingFolderText(f);
        if (problem.isEmpty())
            return f;
        warning(parent, problem);
        offered = f;
    }
}

} // namespace zor
