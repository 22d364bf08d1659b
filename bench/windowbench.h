#pragma once

#include "bench/benchtime.h"
#include "tests/support/scripteddialogs.h"

#include <QApplication>

namespace zorbench {

// Chooses the platform on being made, before the application is.
struct OffscreenUnlessSet
{
    OffscreenUnlessSet() { offscreenUnlessSet(); }
};

// The application of a benchmark of the real window: offscreen unless the
// caller chose a platform, its message boxes and file dialogs answered by the
// script, and how often each figure is measured (the first argument, else
// `fallbackRuns`).
class WindowBench : private OffscreenUnlessSet
{
public:
    WindowBench(int &argc, char **argv, int fallbackRuns)
        : app(argc, argv)
        , runs(repetitions(argc, argv, fallbackRuns))
    {
        zortest::dialogs().setScripted(true);
    }

    QApplication app;
    const int runs;
};

} // namespace zorbench
