#include "ui/dialogs.h"

#include "core/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTreeView>
#include <QWindow>

namespace zor {

namespace {

// A window just shown is on screen only once the window system says so.
void waitUntilOnScreen(QWidget *window)
{
    if (!window || !window->isVisible() || !window->windowHandle())
        return;
    const QDeadlineTimer deadline(2000);
    while (!window->windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
}

void okBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    runModal(box);
}

// The file list's sizes and dates as the program shows everything else,
// German whatever language the system is set to; the file system model
// would use the system's.
class GermanFileColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (files && role == Qt::DisplayRole && (index.column() == 1 || index.column() == 3)) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == 3)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            if (files->isDir(source))
                return QString();
            return QLocale().formattedDataSize(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Wide enough that name, size, type and date can all be read, as far as the
// screen allows; the name takes what the other columns leave.
void fitFileDialog(QFileDialog &dlg, QWidget *parent)
{
    QSize wanted(900, 560);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 0.9);
    dlg.resize(wanted.expandedTo(dlg.size()));
    dlg.setProxyModel(new GermanFileColumns(&dlg));
    if (auto *view = dlg.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
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
    return QStringLiteral("Der Ordner %1 existiert nicht.\n\nBitte w\u00e4hlen Sie "
                          "einen vorhandenen Ordner.")
            .arg(quotedPath(folder));
}

} // namespace

int runModal(QDialog &dialog)
{
    QPointer<QWidget> from = QApplication::focusWidget();
    QWidget *window = dialog.parentWidget() ? dialog.parentWidget()->window()
                                            : (from ? from->window() : nullptr);
    QPointer<QWidget> back = window;
    waitUntilOnScreen(window);
    const int result = dialog.exec();
    QWidget *modal = QApplication::activeModalWidget();
    if (!back || !back->isVisible() || (modal && modal != back))
        return result;
    back->activateWindow();
    if (from && !back->focusWidget() && back->isAncestorOf(from) && from->isVisible()
        && from->isEnabled())
        from->setFocus(Qt::ActiveWindowFocusReason);
    return result;
}

void makeReadable(QProgressDialog &progress)
{
    const auto *label = progress.findChild<QLabel *>();
    if (auto *bar = progress.findChild<QProgressBar *>(); bar && label)
        bar->setAccessibleName(label->text());
}

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
    switch (runModal(box)) {
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
    runModal(box);
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
    runModal(box);
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
    runModal(box);
    return static_cast<int>(pushed.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
}

void Dialogs::warning(QWidget *parent, const QString &text)
{
    okBox(parent, QMessageBox::Warning, QStringLiteral("Warnung"), text);
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    okBox(parent, QMessageBox::Critical, programName(), text);
}

QString Dialogs::openFile(QWidget *parent, const QString &filter)
{
    QFileDialog dlg(parent, QString(), QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    fitFileDialog(dlg, parent);
    if (runModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
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
    fitFileDialog(dlg, parent);
    if (runModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
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
