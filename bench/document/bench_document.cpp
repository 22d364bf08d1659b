// Opening, saving and printing to PDF through the real main window, for
// reports with a growing masters list. One line per figure, in milliseconds
// (the best of a few runs).

#include "app/startup.h"
#include "bench/benchtime.h"
#include "tests/support/formfixture.h"
#include "tests/support/samplereport.h"
#include "ui/tsdiappform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zor::installGerman(app);
    zortest::dialogs().setScripted(true);
    QTemporaryDir dir;
    TSDIAppForm form;
    form.show();

    for (int n : {10, 200, 1000, 10000}) {
        const QString file = dir.filePath(QStringLiteral("bericht-%1.zor").arg(n));
        const QString pdf = dir.filePath(QStringLiteral("bericht-%1.pdf").arg(n));
        form.showReport(zortest::sampleReport(n));
        form.setCurrentFileName(file);
        const int runs = n >= 10000 ? 3 : 7;

        const double save = zorbench::bestMs(runs, [&] {
            form.setModified(true);
            zortest::trigger(form, "FileSave1");
        });
        if (form.isModified() || !QFileInfo::exists(file)) {
            std::fprintf(stderr, "saving %d masters failed\n", n);
            return 1;
        }
        const double open = zorbench::bestMs(runs, [&] {
            form.setModified(false);
            zortest::dialogs().primeFile(file);
            zortest::trigger(form, "FileOpen1");
        });
        if (form.currentReport().masters.size() != n) {
            std::fprintf(stderr, "opening %d masters gave %d\n", n,
                         int(form.currentReport().masters.size()));
            return 1;
        }
        const double print = zorbench::bestMs(n >= 10000 ? 1 : 3, [&] {
            zortest::dialogs().primeFile(pdf);
            zortest::trigger(form, "FileSavePdf");
        });
        if (!QFileInfo::exists(pdf)) {
            std::fprintf(stderr, "no PDF for %d masters\n", n);
            return 1;
        }
        std::printf("document_save_ms{masters=%d} %.2f\n", n, save);
        std::printf("document_open_ms{masters=%d} %.2f\n", n, open);
        std::printf("document_pdf_ms{masters=%d} %.2f\n", n, print);
        zortest::dialogs().clearShown();
    }
    return 0;
}
