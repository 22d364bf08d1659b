#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>

namespace zorbench {

// The best of `runs` timings of f, in milliseconds: the least disturbed run.
template<typename F>
double bestMs(int runs, F &&f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

// Window benchmarks run without a display unless the caller chose a platform.
// Call before the QApplication is made.
inline void offscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// How often each figure is measured: the first argument, else `fallback`.
inline int repetitions(int argc, char **argv, int fallback)
{
    return argc > 1 ? std::max(1, std::atoi(argv[1])) : fallback;
}

} // namespace zorbench
