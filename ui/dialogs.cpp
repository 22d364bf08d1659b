#include "ui/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace zor {

namespace {

struct Script
{
    bool on = false;
    QQueue<Answer> answers;
    QQueue<QString> files;
    QList<ShownDialog> shown;
};

Script &script()
{
    static Script s;
    return s;
}

QString title()
{
    return QStringLiteral("ZOR-Quorvane");
}

Answer scriptedAnswer(Answer fallback)
{
    auto &s = script();
    return s.answers.isEmpty() ? fallback : s.answers.dequeue();
}

QString scriptedFile()
{
    auto &s = script();
    return s.files.isEmpty() ? QString() : s.files.dequeue();
}

void record(const QString &kind, const QString &caption, const QString &text,
            const QStringList &buttons, const QString &filter = {}, const QString &initial = {})
{
    script().shown.append(ShownDialog{kind, caption, text, buttons, filter, initial});
}

Answer plainBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                const QString &caption, bool yesNoCancel)
{
    QMessageBox box(icon, caption, text,
                    yesNoCancel ? (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                                : QMessageBox::StandardButtons(QMessageBox::Ok),
                    parent);
    if (yesNoCancel) {
        box.setEscapeButton(QMessageBox::Cancel);
        // Named here, so they are German even without Qt's translation.
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    }
    const int r = box.exec();
    switch (r) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return yesNoCancel ? Answer::Cancel : Answer::Ok;
    }
}

} // namespace

Answer Dialogs::message(QWidget *parent, const QString &text, const QString &caption,
                        bool yesNoCancel)
{
    const QStringList buttons = yesNoCancel
                                        ? QStringList{QStringLiteral("Ja"), QStringLiteral("Nein"),
                                                      QStringLiteral("Abbrechen")}
                                        : QStringList{QStringLiteral("OK")};
    if (scripted()) {
        record(QStringLiteral("message"), caption, text, buttons);
        return scriptedAnswer(yesNoCancel ? Answer::Cancel : Answer::Ok);
    }
    return plainBox(parent, QMessageBox::NoIcon, text, caption, yesNoCancel);
}

Answer Dialogs::confirm(QWidget *parent, const QString &text)
{
    const QString caption = QString::fromUtf8("Best\u00e4tigung");
    const QStringList buttons{QStringLiteral("&Ja"), QStringLiteral("&Nein"),
                              QStringLiteral("Abbrechen")};
    if (scripted()) {
        record(QStringLiteral("confirm"), caption, text, buttons);
        return scriptedAnswer(Answer::Cancel);
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(buttons[0], QMessageBox::YesRole);
    QPushButton *no = box.addButton(buttons[1], QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(buttons[2], QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

Answer Dialogs::askYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    const QStringList buttons{QStringLiteral("&Ja"), QStringLiteral("&Nein")};
    if (scripted()) {
        record(QStringLiteral("question"), caption, text, buttons);
        return scriptedAnswer(Answer::No);
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(buttons[0], QMessageBox::YesRole);
    QPushButton *no = box.addButton(buttons[1], QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

int Dialogs::choose(QWidget *parent, const QString &text, const QString &caption,
                    const QStringList &buttons)
{
    if (scripted()) {
        record(QStringLiteral("choice"), caption, text, buttons);
        const Answer a = scriptedAnswer(Answer::Cancel);
        return a == Answer::Yes ? 0 : a == Answer::No ? 1 : int(buttons.size()) - 1;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QList<QPushButton *> pushed;
    for (const QString &b : buttons)
        pushed << box.addButton(b, QMessageBox::ActionRole);
    box.setDefaultButton(pushed.first());
    box.setEscapeButton(pushed.last());
    box.exec();
    const int i = int(pushed.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
    return i < 0 ? int(buttons.size()) - 1 : i;
}

void Dialogs::warning(QWidget *parent, const QString &text)
{
    const QString caption = QStringLiteral("Warnung");
    if (scripted()) {
        record(QStringLiteral("warning"), caption, text, {QStringLiteral("OK")});
        scriptedAnswer(Answer::Ok);
        return;
    }
    plainBox(parent, QMessageBox::Warning, text, caption, false);
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    if (scripted()) {
        record(QStringLiteral("error"), title(), text, {QStringLiteral("OK")});
        scriptedAnswer(Answer::Ok);
        return;
    }
    plainBox(parent, QMessageBox::Critical, text, title(), false);
}

QString Dialogs::openFile(QWidget *parent, const QString &filter)
{
    if (scripted()) {
        record(QStringLiteral("open"), QString(), QString(), {}, filter);
        return scriptedFile();
    }
    QFileDialog dlg(parent, QString(), QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::ReadOnly, false);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

namespace {

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

QString Dialogs::saveFile(QWidget *parent, const QString &title, const QString &current,
                          const QString &filter, const QString &defaultSuffix)
{
    QString offered = current;
    for (;;) {
        QString f;
        if (scripted()) {
            record(QStringLiteral("save"), title, QString(), {}, filter, offered);
            f = scriptedFile();
            if (!f.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(f).suffix().isEmpty())
                f += QLatin1Char('.') + defaultSuffix;
        } else {
            QFileDialog dlg(parent, title, QString(), filter);
            dlg.setAcceptMode(QFileDialog::AcceptSave);
            dlg.setFileMode(QFileDialog::AnyFile);
            dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
            dlg.setDefaultSuffix(defaultSuffix);
            if (!offered.isEmpty())
                dlg.selectFile(offered);
            if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
                f = dlg.selectedFiles().constFirst();
        }
        if (f.isEmpty())
            return QString();
        const QString problem = missingFolderText(f);
        if (problem.isEmpty())
            return f;
        warning(parent, problem);
        offered = f;
    }
}

void Dialogs::setScripted(bool on)
{
    script().on = on;
}

bool Dialogs::scripted()
{
    return script().on;
}

void Dialogs::primeAnswer(Answer a)
{
    script().answers.enqueue(a);
}

void Dialogs::primeFile(const QString &path)
{
    script().files.enqueue(path);
}

int Dialogs::pendingAnswers()
{
    return int(script().answers.size());
}

int Dialogs::pendingFiles()
{
    return int(script().files.size());
}

const QList<ShownDialog> &Dialogs::shown()
{
    return script().shown;
}

void Dialogs::clearShown()
{
    script().shown.clear();
}

void Dialogs::reset()
{
    auto &s = script();
    s.answers.clear();
    s.files.clear();
    s.shown.clear();
}

} // namespace zor
