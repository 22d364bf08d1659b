// What the recovery copy costs the window's own thread: the report is open in
// the real window, a character is typed, and the event loop runs until the
// copy is on disk. Two figures per size, in milliseconds, the median and the
// largest of the runs:
//   recovery_tick_longest_pause_ms the longest stretch the window's thread was
//                                  busy without coming back to its event loop
//                                  (what the user feels as a pause)
//   recovery_tick_gui_cpu_ms       the window thread's CPU time from the key
//                                  press until the copy is written, less the
//                                  same wait without a change
// Usage: bench_recoverytick [runs]

#include "bench/windowbench.h"
#include "tests/support/formfixture.h"
#include "tests/support/samplereport.h"
#include "ui/tsdiappform.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Runs the event loop for ms milliseconds and gives the longest time the
// window's thread did not come back to it: the largest gap between the ticks
// of a 2 ms timer, less the 2 ms.
double runLoopFor(int ms)
{
    QElapsedTimer clock;
    double longest = 0;
    qint64 last = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(2);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, (now - last) / 1e6 - 2);
        last = now;
    });
    QEventLoop loop;
    clock.start();
    heartbeat.start();
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return std::max(0.0, longest);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const zorbench::WindowBench bench(argc, argv, 7);
    QTemporaryDir dir;
    TSDIAppForm form;
    form.show();
    QLineEdit *fax = zortest::field(form, zor::Field::Fax);
    form.startRecovery(dir.filePath(QStringLiteral("recovery")));
    // A little after the two seconds the copy waits for.
    constexpr int waitMs = 2600;

    for (const int n : {1000, 10000, 100000}) {
        form.showReport(zortest::sampleReport(n));
        form.setModified(false);
        runLoopFor(waitMs); // the copy of the change above is dropped again
        // What the thread spends waiting alone: the least of a few waits.
        double idleCpu = 1e300;
        for (int i = 0; i < 3; ++i) {
            const double cpuBefore = threadCpuMs();
            runLoopFor(waitMs);
            idleCpu = std::min(idleCpu, threadCpuMs() - cpuBefore);
        }

        std::vector<double> passes;
        std::vector<double> cpu;
        for (int run = 0; run < bench.runs; ++run) {
            QFile::remove(form.recoveryCopyPath());
            const double cpu0 = threadCpuMs();
            fax->setText(fax->text() + QLatin1Char('1')); // a change as typing makes it
            double longest = runLoopFor(waitMs);
            // A copy written elsewhere may take a moment longer.
            QElapsedTimer extra;
            extra.start();
            while (!QFileInfo::exists(form.recoveryCopyPath()) && extra.elapsed() < 10000)
                longest = std::max(longest, runLoopFor(50));
            cpu.push_back(threadCpuMs() - cpu0 - idleCpu * (waitMs + extra.elapsed()) / waitMs);
            passes.push_back(longest);
            if (!QFileInfo::exists(form.recoveryCopyPath())) {
                std::fprintf(stderr, "no recovery copy for %d masters\n", n);
                return 1;
            }
        }
        std::printf("recovery_tick_longest_pause_ms{masters=%d} median %.1f max %.1f\n", n,
                    median(passes), *std::max_element(passes.begin(), passes.end()));
        std::printf("recovery_tick_gui_cpu_ms{masters=%d} median %.1f max %.1f\n", n, median(cpu),
                    *std::max_element(cpu.begin(), cpu.end()));
        std::fflush(stdout);
    }
    form.setModified(false);
    return 0;
}
