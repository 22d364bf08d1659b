#pragma once

#include <QElapsedTimer>

#include <algorithm>

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

} // namespace zorbench
