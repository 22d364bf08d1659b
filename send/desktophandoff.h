#pragma once

#include <QString>
#include <QStringList>

class QUrl;

namespace zor {

// The desktop's side of sending and help: finding and starting programs,
// opening URLs, and where the installed help page lives. Nothing goes through
// a shell. Tests put a recorder in place of the desktop.
class DesktopHandOff
{
public:
    DesktopHandOff() = default;
    virtual ~DesktopHandOff();
    DesktopHandOff(const DesktopHandOff &) = delete;
    DesktopHandOff &operator=(const DesktopHandOff &) = delete;

    // Full path of a program found on PATH, empty when there is none.
    virtual QString findProgram(const QString &name) const;
    // Starts the program with exactly these arguments and does not wait.
    virtual bool startDetached(const QString &program, const QStringList &arguments);
    // Hands the URL to the desktop's handler for its scheme.
    virtual bool openUrl(const QUrl &url);
    // Installed copies of the help page that may exist, most specific first.
    virtual QStringList installedHelpPages() const;

    // The desktop in use: the real one unless a stand-in was put in place.
    static DesktopHandOff &current();
    // Puts a stand-in in place (not owned); nullptr brings the real desktop back.
    static void setCurrent(DesktopHandOff *standIn);
};

// Opens the mail program addressed to the mailbox with the subject filled in:
// through xdg-email, which can attach the file as well, where it is there,
// else through a mailto: URL. False when neither could be started.
bool startMailProgram(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &attachment);

} // namespace zor
