#include "send/desktophandoff.h"

#include "send/sending.h"

#include "reportfile/report.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace zor {

QString DesktopHandOff::findProgram(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

HandOffResult DesktopHandOff::run(const QString &program, const QStringList &arguments, int waitMs)
{
    // Owned by the application, not by this call: a program still running
    // when we stop waiting must not be killed with its QProcess.
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart)
                             process->deleteLater();
                     });

    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    HandOffResult result;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::finished, &loop,
                     [&](int code, QProcess::ExitStatus status) {
                         result.status = status == QProcess::NormalExit ? HandOffResult::Finished
                                                                        : HandOffResult::Crashed;
                         result.exitCode = code;
                         loop.quit();
                     });
    QObject::connect(process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            result.status = HandOffResult::NotStarted;
            loop.quit();
        }
    });
    result.status = HandOffResult::StillRunning;
    process->start(program, arguments);
    if (result.status == HandOffResult::StillRunning) {
        timer.start(waitMs);
        // Painting goes on while we wait; clicks and keys wait for us.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QGuiApplication::restoreOverrideCursor();
    return result;
}

bool DesktopHandOff::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QStringList DesktopHandOff::installedHelpPages() const
{
    const QString page = QStringLiteral("zor-quorvane/zorhelp.htm");
    return helpPageCandidates(QCoreApplication::applicationDirPath(),
                              QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, page),
                              QStringLiteral(ZOR_INSTALLED_HELP));
}

DesktopHandOff &DesktopHandOff::real()
{
    static DesktopHandOff desktop;
    return desktop;
}

MailHandOff startMailProgram(DesktopHandOff &desktop, const QString &mailbox,
                             const QString &subject, const QString &attachment, int waitMs)
{
    const QString xdgEmail = desktop.findProgram(QStringLiteral("xdg-email"));
    if (!xdgEmail.isEmpty()) {
        const HandOffResult r = desktop.run(
                xdgEmail, xdgEmailArguments(mailbox, subject, attachment), waitMs);
        if (r.status == HandOffResult::StillRunning)
            return MailHandOff::Unconfirmed;
        if (r.status != HandOffResult::NotStarted)
            return r.succeeded() ? MailHandOff::Handed : MailHandOff::Failed;
    }
    return desktop.openUrl(mailtoUrl(mailbox, subject)) ? MailHandOff::Handed : MailHandOff::Failed;
}

bool openLocalPage(DesktopHandOff &desktop, const QString &page, int waitMs)
{
    // A file URL, never a command line: blanks, quotes and semicolons in the
    // path stay part of the path.
    const QUrl url = QUrl::fromLocalFile(page);
    const QString xdgOpen = desktop.findProgram(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty()) {
        const HandOffResult r = desktop.run(xdgOpen, {url.toString(QUrl::FullyEncoded)}, waitMs);
        // A viewer that stays open keeps xdg-open waiting: the page is shown.
        if (r.status == HandOffResult::StillRunning)
            return true;
        if (r.status != HandOffResult::NotStarted)
            return r.succeeded();
    }
    return desktop.openUrl(url);
}

QString handOffReport(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &companion, int waitMs)
{
    const Result<QString> attachment = makeAttachmentCopy(companion);
    switch (startMailProgram(desktop, mailbox, subject, attachment ? *attachment : QString(),
                             waitMs)) {
    case MailHandOff::Failed:
        return mailNotStartedText(mailbox, subject, companion);
    case MailHandOff::Unconfirmed:
        return mailUnconfirmedText(mailbox, subject, companion);
    case MailHandOff::Handed:
        break;
    }
    // Through the mailto: URL nothing is attached anyway, and the
    // instructions already say to attach the file.
    if (!attachment && !desktop.findProgram(QStringLiteral("xdg-email")).isEmpty())
        return attachmentLeftOutText(companion, attachment.reason());
    return QString();
}

} // namespace zor
