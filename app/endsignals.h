#pragma once

#include <QObject>

class QSocketNotifier;
class TSDIAppForm;

namespace zor {

// Past a file-size limit the kernel ends a program with SIGXFSZ, and the
// report on screen with it. Ignored, a write past the limit fails with EFBIG
// and the user is told. Called first of all, before any file is written (the
// recovery folder's lock file is written at start).
void ignoreFileSizeSignal();

// A desktop logout, a closed terminal or a shutdown ends the program with
// SIGTERM or SIGHUP. Those two are caught from now on; the handler only
// writes the signal's number into a pipe, which EndSignals reads in the
// event loop. False when the pipe could not be made (the signals then keep
// their default action).
bool catchEndSignals();

// Emits arrived() in the event loop for each SIGTERM or SIGHUP caught by
// catchEndSignals(). Needs the application object.
class EndSignals : public QObject
{
    Q_OBJECT

public:
    explicit EndSignals(QObject *parent = nullptr);

signals:
    void arrived(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};

// Ends the process as the signal would have ended it, so whoever sent it
// sees it obeyed. Does not return.
[[noreturn]] void endBySignal(int signal);

// Keeps what the window holds when the session ends: on SIGTERM or SIGHUP the
// recovery copy is written at once and the program ends; when the desktop's
// session manager asks the program to commit its data (a logout), the copy is
// written and the program waits for what comes next.
void keepReportAtSessionEnd(TSDIAppForm &form);

} // namespace zor
