#include "app/endsignals.h"

#include "ui/tsdiappform.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace zor {

namespace {

// The pipe from the signal handler to the event loop: [0] read, [1] write.
int endPipe[2] = {-1, -1};

extern "C" void onEndSignal(int signal)
{
    // Only what is safe in a signal handler: one write, errno kept.
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(endPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void ignoreFileSizeSignal()
{
    ::signal(SIGXFSZ, SIG_IGN);
}

bool catchEndSignals()
{
    if (endPipe[0] >= 0)
        return true;
    if (::pipe2(endPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        endPipe[0] = endPipe[1] = -1;
        return false;
    }
    struct sigaction sa = {};
    sa.sa_handler = onEndSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int s : {SIGTERM, SIGHUP})
        ::sigaction(s, &sa, nullptr);
    return true;
}

EndSignals::EndSignals(QObject *parent)
    : QObject(parent)
{
    if (endPipe[0] < 0)
        return;
    m_notifier = new QSocketNotifier(endPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(endPipe[0], &byte, 1) == 1)
            emit arrived(int(byte));
    });
}

void endBySignal(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    // A signal that is blocked or ignored by whoever started us still ends it.
    ::_exit(128 + signal);
}

void keepReportAtSessionEnd(TSDIAppForm &form)
{
    auto *caught = new EndSignals(&form);
    QObject::connect(caught, &EndSignals::arrived, &form, [&form](int signal) {
        form.keepRecoveryCopyNow();
        endBySignal(signal);
    });
    // The session manager may end the program without a further word after
    // this; what is typed must be on disk by then. The copy is not removed:
    // the next start offers it.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager &) { form.keepRecoveryCopyNow(); });
}

} // namespace zor
