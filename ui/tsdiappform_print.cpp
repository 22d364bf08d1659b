// Printing the whole report, on the printer or into a PDF file.

#include "ui/tsdiappform.h"

#include "print/defaultprinter.h"
#include "print/printjob.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"
#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace {

const QString Caption = QStringLiteral("ZOR-Quorvane");

// Most Linux desktops have no printer set up; the PDF is the way out.
void tellNoPrinter(QWidget *parent)
{
    zor::Dialogs::current().message(
            parent, Caption,
            QStringLiteral("Es ist kein Drucker eingerichtet, daher kann der Bericht nicht "
                           "gedruckt werden.\n\nMit \"Als PDF speichern...\" im Men\u00fc "
                           "\"Datei\" k\u00f6nnen Sie den Bericht als PDF-Datei speichern "
                           "und sp\u00e4ter drucken oder weitergeben."));
}

// The default printer, or nothing after telling the user there is none.
std::unique_ptr<QPrinter> defaultPrinter(QWidget *parent)
{
    std::unique_ptr<QPrinter> printer = zor::DefaultPrinter::current().printer();
    if (!printer)
        tellNoPrinter(parent);
    return printer;
}

// The report laid out for the printer's paper as it is set now.
zor::PrintLayout layoutFor(const QPrinter &printer, const QDate &today, const zor::Report &report)
{
    const zor::PageGeometry page = zor::pageGeometry(printer);
    return zor::layoutReport(page.width, page.height, page.dpiY, today, report);
}

} // namespace

// Runs job on the default printer, after taking in a count still being typed;
// without a printer the user is pointed to the PDF instead.
void TSDIAppForm::onDefaultPrinter(const std::function<void(QPrinter *)> &job)
{
    commitPendingEdit();
    guarded([this, &job] {
        std::unique_ptr<QPrinter> printer = defaultPrinter(this);
        if (printer)
            job(printer.get());
    });
}

// Prints straight on the default printer, without a dialog. The window and the
// report are only read.
void TSDIAppForm::FilePrintExecute1()
{
    onDefaultPrinter([this](QPrinter *printer) {
        // The whole layout, counts included, is made before the job begins, so
        // a count that is no whole number stops here with no job open.
        sendJob(*printer, layoutFor(*printer, QDate::currentDate(), currentReport()));
    });
}

// Hands one job to the printer; a long one shows its progress and can be
// cancelled. Every way the job fails is told, with the printer's own reason.
void TSDIAppForm::sendJob(QPrinter &printer, const zor::PrintLayout &layout)
{
    QProgressDialog progress(QStringLiteral("Der Bericht wird f\u00fcr den Drucker "
                                            "vorbereitet..."),
                             QStringLiteral("Abbrechen"), 0, 1, this);
    progress.setWindowTitle(Caption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    const zor::PrintResult result = zor::printJob(
            printer, layout, [&progress](int done, int total) {
                progress.setMaximum(total);
                progress.setValue(done);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                return !progress.wasCanceled();
            });
    progress.reset();
    const auto tell = [this](const QString &error) {
        zor::Dialogs::current().message(
                this, Caption,
                QStringLiteral("Der Bericht konnte nicht gedruckt werden.\n\n") + error
                        + QStringLiteral(
                                "\n\nBitte pr\u00fcfen Sie den Drucker oder speichern Sie den "
                                "Bericht mit \"Als PDF speichern...\"."));
    };
    if (result && *result > 0) {
        // The spooler took the job; a failure on the way to the paper is told later.
        zor::watchJob(this, printer.printerName(), *result, tell);
        return;
    }
    if (!result && !result.failure().cancelled)
        tell(result.reason());
}

// The same printout as a PDF file, for a club without a printer or to mail.
void TSDIAppForm::FileSavePdfExecute()
{
    commitPendingEdit();
    guarded([this] {
        const zor::PageGeometry page = zor::pdfGeometry();
        const zor::PrintLayout layout = zor::layoutReport(page.width, page.height, page.dpiY,
                                                          QDate::currentDate(), currentReport());
        // Offer the report's own name, with the PDF's extension, beside it.
        QString offered;
        if (!currentFileName().isEmpty()) {
            const QFileInfo report(currentFileName());
            offered = report.dir().filePath(report.completeBaseName() + QStringLiteral(".pdf"));
        }
        const QString path = zor::Dialogs::current().saveFile(
                this, QStringLiteral("Bericht als PDF speichern"), offered,
                QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        if (const zor::Result<void> written = zor::writePdf(layout, path); !written) {
            zor::Dialogs::current().message(
                    this, Caption,
                    QStringLiteral("Die PDF-Datei \u201e%1\u201c konnte nicht geschrieben "
                                   "werden:\n%2")
                            .arg(QDir::toNativeSeparators(path), written.reason()));
        }
    });
}

namespace {

// What a printer with its engine swapped for the preview's draws is never sent.
bool isPreview(QPrinter &printer)
{
    return printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Picture;
}

} // namespace

// The same pages on screen, on the default printer's paper; printing from
// the preview goes through the same job as "Datei Drucken".
void TSDIAppForm::FilePreviewExecute()
{
    onDefaultPrinter([this](QPrinter *printer) {
        // The report as it stands now; a count that is no number stops here.
        const zor::Report report = currentReport();
        const QDate today = QDate::currentDate();
        layoutFor(*printer, today, report);

        QPrintPreviewDialog preview(printer, this);
        preview.setWindowTitle(QStringLiteral("Druckvorschau"));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [this, &report, today](QPrinter *p) {
                    guarded([&] {
                        const zor::PrintLayout layout = layoutFor(*p, today, report);
                        if (isPreview(*p)) {
                            QPainter painter(p);
                            zor::paintLayout(painter, *p, layout.pages);
                        } else {
                            sendJob(*p, layout);
                        }
                    });
                });
        preview.exec();
    });
}

// The system's print dialog first: printer, paper, copies and pages.
void TSDIAppForm::FilePrintDialogExecute()
{
    onDefaultPrinter([this](QPrinter *printer) {
        const zor::Report report = currentReport();
        const QDate today = QDate::currentDate();
        const int pages = int(layoutFor(*printer, today, report).pages.size());

        QPrintDialog dialog(printer, this);
        dialog.setWindowTitle(QStringLiteral("Drucken"));
        dialog.setMinMax(1, pages);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted)
            return;
        // The paper chosen, with the printable area the printer reports for it.
        printer->setFullPage(false);
        printer->setPageMargins(printer->pageLayout().minimumMargins(),
                                printer->pageLayout().units());
        sendJob(*printer, layoutFor(*printer, today, report));
    });
}
