#pragma once

#include "core/standin.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QUrl;

namespace zor {

// How a program we handed something to came back.
struct HandOffResult
{
    enum Status {
        Finished,     // it ended by itself; exitCode tells how
        NotStarted,   // it could not be started at all
        Crashed,      // it died of a signal
        StillRunning, // it had not ended when we stopped waiting; it goes on
    };
    Status status = NotStarted;
    int exitCode = -1;

    bool succeeded() const { return status == Finished && exitCode == 0; }
};

// The desktop's side of sending and help: finding and starting programs,
// opening URLs, the file manager, and where the installed help page lives.
// Nothing goes through a shell, and nothing waits: the window takes input
// while a program starts, and is told from the event loop how it went.
// Tests may put a stand-in in place of the desktop.
class DesktopHandOff : public Replaceable<DesktopHandOff>
{
public:
    using Finished = std::function<void(HandOffResult)>;
    using Answered = std::function<void(bool)>;

    // Full path of a program found on PATH, empty when there is none.
    virtual QString findProgram(const QString &name) const;
    // Starts the program with exactly these arguments and returns at once.
    // `done` is called once, from the event loop: when the program ended or
    // could not be started, or with StillRunning when it had not ended after
    // waitMs; it is left to run then (xdg-email and xdg-open stay in the
    // foreground while a mail program or viewer they started is open). Not
    // called when `context` is gone by then.
    virtual void start(const QString &program, const QStringList &arguments, int waitMs,
                       QObject *context, Finished done);
    // Hands the URL to the desktop's handler for its scheme.
    virtual bool openUrl(const QUrl &url);
    // Asks the desktop's file manager (org.freedesktop.FileManager1 on the
    // session bus) to show these files selected in their folders. `done`
    // tells, from the event loop, whether one took the request.
    virtual void showItems(const QStringList &fileUrls, int waitMs, QObject *context,
                           Answered done);
    // Installed copies of the help page that may exist, most specific first.
    virtual QStringList installedHelpPages() const;

    // The real desktop.
    static DesktopHandOff &real();
};

// How long xdg-email, xdg-open and the file manager are given to report back.
constexpr int handOffWaitMs = 10000;

enum class MailHandOff {
    Handed,      // xdg-email reported success
    UrlHanded,   // the mailto: URL was taken (it carries no attachment)
    Failed,      // nothing could be started, or xdg-email reported failure
    Unconfirmed, // xdg-email had not come back when we stopped waiting
};

// Opens the mail program addressed to the mailbox with the subject filled in:
// through xdg-email, which can attach the file as well, where it is there,
// else through a mailto: URL. xdg-email's exit status counts: a failure is
// not hidden behind the URL, which would end up at the same missing program.
void startMailProgram(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &attachment, QObject *context,
                      std::function<void(MailHandOff)> done, int waitMs = handOffWaitMs);

// Opens a local page in the desktop's HTML viewer: through xdg-open, whose
// exit status counts, else through the desktop's URL handler. `done(false)`
// when no viewer took it.
void openLocalPage(DesktopHandOff &desktop, const QString &page, QObject *context,
                   DesktopHandOff::Answered done, int waitMs = handOffWaitMs);

// Shows the file selected in the file manager, so it can be dragged into a
// mail, a browser's webmail included; where no file manager answers on the
// session bus, opens its folder through xdg-open (else the URL handler).
// `done(false)` when nothing took it.
void showFileInFolder(DesktopHandOff &desktop, const QString &file, QObject *context,
                      DesktopHandOff::Answered done, int waitMs = handOffWaitMs);

// Sends the report: makes the private copy to attach, starts the mail
// program and tells `done` what the user must be told afterwards; every text
// offers to show the companion file in its folder.
void handOffReport(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                   const QString &companion, QObject *context,
                   std::function<void(const QString &told)> done, int waitMs = handOffWaitMs);

} // namespace zor
