#include "send/desktophandoff.h"

#include "send/sending.h"

#include "reportfile/report.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace zor {

QString DesktopHandOff::findProgram(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

namespace {

// Calls `done` once, later, from the event loop, unless `context` is gone.
template<typename T>
void later(QObject *context, const std::function<void(T)> &done, T value)
{
    QTimer::singleShot(0, context, [done, value] { done(value); });
}

} // namespace

void DesktopHandOff::start(const QString &program, const QStringList &arguments, int waitMs,
                           QObject *context, Finished done)
{
    // Owned by the application, not by the caller: a program still running
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

    // The first of: ended, could not start, time up. Told once.
    auto pending = std::make_shared<Finished>(std::move(done));
    const auto tell = [pending, context](HandOffResult r) {
        if (!*pending)
            return;
        const Finished f = std::move(*pending);
        *pending = nullptr;
        later(context, f, r);
    };
    auto *timer = new QTimer(process);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, context, [tell] {
        tell({HandOffResult::StillRunning, -1});
    });
    QObject::connect(process, &QProcess::finished, context,
                     [tell](int code, QProcess::ExitStatus status) {
                         tell({status == QProcess::NormalExit ? HandOffResult::Finished
                                                              : HandOffResult::Crashed,
                               code});
                     });
    QObject::connect(process, &QProcess::errorOccurred, context, [tell](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            tell({HandOffResult::NotStarted, -1});
    });
    timer->start(waitMs);
    process->start(program, arguments);
}

bool DesktopHandOff::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void DesktopHandOff::showItems(const QStringList &fileUrls, int waitMs, QObject *context,
                               Answered done)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        later(context, done, false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << fileUrls << QString();
    // The bus starts a file manager that is installed but not running.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, waitMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done](QDBusPendingCallWatcher *w) {
                         const bool taken = !w->isError();
                         w->deleteLater();
                         done(taken);
                     });
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

namespace {

// Opens the URL through xdg-open, whose exit status counts (a viewer that
// stays open keeps it waiting: the URL is shown), else through the desktop's
// URL handler.
void openThroughXdgOpen(DesktopHandOff &desktop, const QUrl &url, QObject *context,
                        const DesktopHandOff::Answered &done, int waitMs)
{
    const QString xdgOpen = desktop.findProgram(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        later(context, done, desktop.openUrl(url));
        return;
    }
    desktop.start(xdgOpen, {url.toString(QUrl::FullyEncoded)}, waitMs, context,
                  [&desktop, url, done](HandOffResult r) {
                      if (r.status == HandOffResult::NotStarted)
                          done(desktop.openUrl(url));
                      else
                          done(r.status == HandOffResult::StillRunning || r.succeeded());
                  });
}

} // namespace

void startMailProgram(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &attachment, QObject *context,
                      std::function<void(MailHandOff)> done, int waitMs)
{
    const auto throughUrl = [&desktop, mailbox, subject] {
        return desktop.openUrl(mailtoUrl(mailbox, subject)) ? MailHandOff::UrlHanded
                                                            : MailHandOff::Failed;
    };
    const QString xdgEmail = desktop.findProgram(QStringLiteral("xdg-email"));
    if (xdgEmail.isEmpty()) {
        later(context, done, throughUrl());
        return;
    }
    desktop.start(xdgEmail, xdgEmailArguments(mailbox, subject, attachment), waitMs, context,
                  [done, throughUrl](HandOffResult r) {
                      switch (r.status) {
                      case HandOffResult::StillRunning:
                          done(MailHandOff::Unconfirmed);
                          return;
                      case HandOffResult::NotStarted:
                          done(throughUrl());
                          return;
                      case HandOffResult::Finished:
                      case HandOffResult::Crashed:
                          break;
                      }
                      done(r.succeeded() ? MailHandOff::Handed : MailHandOff::Failed);
                  });
}

void openLocalPage(DesktopHandOff &desktop, const QString &page, QObject *context,
                   DesktopHandOff::Answered done, int waitMs)
{
    // A file URL, never a command line: blanks, quotes and semicolons in the
    // path stay part of the path.
    openThroughXdgOpen(desktop, QUrl::fromLocalFile(page), context, done, waitMs);
}

void showFileInFolder(DesktopHandOff &desktop, const QString &file, QObject *context,
                      DesktopHandOff::Answered done, int waitMs)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    desktop.showItems({QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)}, waitMs, context,
                      [&desktop, path, context, done, waitMs](bool shown) {
                          if (shown) {
                              done(true);
                              return;
                          }
                          // Without a file manager on the bus: the folder,
                          // in which the user finds the file by its name.
                          openThroughXdgOpen(desktop,
                                             QUrl::fromLocalFile(QFileInfo(path).absolutePath()),
                                             context, done, waitMs);
                      });
}

void handOffReport(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                   const QString &companion, QObject *context,
                   std::function<void(const QString &told)> done, int waitMs)
{
    const Result<QString> attachment = makeAttachmentCopy(companion);
    const QString leftOut = attachment.reason();
    const QString offer = QStringLiteral("\n\n") + folderOfferText(companion);
    startMailProgram(
            desktop, mailbox, subject, attachment ? *attachment : QString(), context,
            [=](MailHandOff handed) {
                switch (handed) {
                case MailHandOff::Failed:
                    done(mailNotStartedText(mailbox, subject, companion) + offer);
                    return;
                case MailHandOff::Unconfirmed:
                    done(mailUnconfirmedText(mailbox, subject, companion) + offer);
                    return;
                case MailHandOff::Handed:
                    // xdg-email was given no file when no plain copy could be made.
                    if (!leftOut.isEmpty()) {
                        done(attachmentLeftOutText(companion, leftOut) + offer);
                        return;
                    }
                    done(mailOpenedText(mailbox, subject, companion, true));
                    return;
                case MailHandOff::UrlHanded:
                    done(mailOpenedText(mailbox, subject, companion, false));
                    return;
                }
            },
            waitMs);
}

} // namespace zor
