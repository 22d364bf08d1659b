// Times the print layout and the PDF output for growing masters lists. Prints
// one line per figure; the time per master should stay about the same as the
// list grows. Run with QT_QPA_PLATFORM=offscreen where there is no display.

#include "bench/benchtime.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"
#include "tests/support/samplereport.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const zor::PageGeometry page = zor::pdfGeometry();
    const QDate today = QDate::currentDate();
    for (int n : {10, 1000, 10000}) {
        const zor::Report report = zortest::sampleReport(n);
        zor::PrintLayout layout;
        const double layoutMs = zorbench::bestMs(5, [&] {
            layout = zor::layoutReport(page.width, page.height, page.dpiY, today, report);
        });
        std::printf("layout masters=%6d pages=%4d  %10.3f ms  %8.3f us/master\n", n,
                    int(layout.pages.size()), layoutMs, layoutMs * 1000.0 / n);

        const QString path = dir.filePath(QStringLiteral("bench%1.pdf").arg(n));
        bool ok = true;
        QString error;
        const double pdfMs = zorbench::bestMs(3, [&] {
            if (!ok)
                return;
            const zor::Result<void> written = zor::writePdf(layout, path);
            ok = written.ok();
            error = written.reason();
        });
        if (!ok) {
            std::fprintf(stderr, "PDF failed: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("pdf    masters=%6d bytes=%8lld %10.3f ms  %8.3f us/master\n", n,
                    QFileInfo(path).size(), pdfMs, pdfMs * 1000.0 / n);
    }
    return 0;
}
