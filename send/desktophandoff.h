#pragma once

#include "reportfile/standin.h"

#include <QString>
#include <QStringList>

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
// opening URLs, and where the installed help page lives. Nothing goes through
// a shell. Tests may put a stand-in in place of the desktop.
class DesktopHandOff : public Replaceable<DesktopHandOff>
{
public:
    // Full path of a program found on PATH, empty when there is none.
    virtual QString findProgram(const QString &name) const;
    // Starts the program with exactly these arguments and waits up to waitMs
    // for it to end, keeping the window painted but taking no input. A program
    // still running then is left to run (xdg-email and xdg-open stay in the
    // foreground while a mail program or viewer they started is open).
    virtual HandOffResult run(const QString &program, const QStringList &arguments, int waitMs);
    // Hands the URL to the desktop's handler for its scheme.
    virtual bool openUrl(const QUrl &url);
    // Installed copies of the help page that may exist, most specific first.
    virtual QStringList installedHelpPages() const;

    // The real desktop.
    static DesktopHandOff &real();
};

// How long xdg-email and xdg-open are given to report back.
constexpr int handOffWaitMs = 10000;

enum class MailHandOff {
    Handed,      // xdg-email reported success, or the mailto: URL was taken
    Failed,      // nothing could be started, or xdg-email reported failure
    Unconfirmed, // xdg-email had not come back when we stopped waiting
};

// Opens the mail program addressed to the mailbox with the subject filled in:
// through xdg-email, which can attach the file as well, where it is there,
// else through a mailto: URL. xdg-email's exit status counts: a failure is
// not hidden behind the URL, which would end up at the same missing program.
MailHandOff startMailProgram(DesktopHandOff &desktop, const QString &mailbox,
                             const QString &subject, const QString &attachment,
                             int waitMs = handOffWaitMs);

// Opens a local page in the desktop's HTML viewer: through xdg-open, whose
// exit status counts, else through the desktop's URL handler. False when no
// viewer took it.
bool openLocalPage(DesktopHandOff &desktop, const QString &page, int waitMs = handOffWaitMs);

// Sends the report: makes the private copy to attach, starts the mail program
// and returns what the user must be told afterwards (empty when nothing).
QString handOffReport(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &companion, int waitMs = handOffWaitMs);

} // namespace zor
