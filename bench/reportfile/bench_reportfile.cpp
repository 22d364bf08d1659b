// Prints how long writing and reading a report file takes for 10, 1,000 and
// 100,000 masters, and how long opening such a file in the window takes.
// Usage: bench_reportfile [repetitions]

#include "bench/benchtime.h"
#include "bench/windowbench.h"
#include "reportfile/recoverycopy.h"
#include "reportfile/recoverystore.h"
#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"
#include "reportfile/safefile.h"
#include "tests/support/formfixture.h"
#include "tests/support/samplereport.h"
#include "ui/tsdiappform.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

void line(const char *what, int masters, double ms)
{
    std::printf("%-34s masters=%-7d %10.3f ms\n", what, masters, ms);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    const zorbench::WindowBench bench(argc, argv, 5);
    const int reps = bench.runs;

    QTemporaryDir dir;
    TSDIAppForm form;
    zor::RecoveryStore recovery(dir.filePath(QStringLiteral("recovery")));
    for (const int n : {10, 1000, 10000, 100000}) {
        const zor::Report report = zortest::sampleReport(n);
        const QString path = dir.filePath(QStringLiteral("b%1.zor").arg(n));
        bool ok = true;

        line("encode (memory)", n,
             zorbench::bestMs(reps, [&] { ok &= zor::encodeReport(report).ok(); }));
        line("save to disk (temp file, fsync, rename)", n,
             zorbench::bestMs(reps, [&] { ok &= zor::saveReport(path, report).ok(); }));
        zor::Report read;
        // As the program reads it: the bounded read, then the lines.
        line("read from disk", n, zorbench::bestMs(reps, [&] {
                 const zor::ReadResult file = zor::readFileBounded(path);
                 ok &= file.ok();
                 if (file)
                     read = zor::readReport(file->bytes).report;
             }));
        ok &= read == report;
        line("open in window (reset+load+sums)", n, zorbench::bestMs(reps, [&] {
                 form.setModified(false);
                 ok &= zortest::openReport(form, path);
             }));
        line("save from window (check+write)", n, zorbench::bestMs(reps, [&] {
                 form.setModified(true);
                 zortest::trigger(form, "FileSave1");
                 ok &= !form.isModified();
             }));
        // Written on the window's thread two seconds after a change.
        line("recovery copy (encode+write)", n, zorbench::bestMs(reps, [&] {
                 zor::RecoveryCopy copy;
                 copy.report = report;
                 copy.fileName = path;
                 copy.made = QDateTime::currentDateTime();
                 ok &= recovery.write(zor::encodeRecovery(copy)).ok();
             }));
        // The opens show their file dialog; any other dialog is a failure.
        for (const zortest::ShownDialog &d : zortest::dialogs().shown())
            ok &= d.kind == QLatin1String("open");
        zortest::dialogs().clearShown();
        if (!ok) {
            std::fprintf(stderr, "benchmark run failed for %d masters\n", n);
            return 1;
        }
    }
    return 0;
}
