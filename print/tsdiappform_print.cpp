// Printing the whole report, on the printer or into a PDF file.

#include "ui/tsdiappform.h"

#include "app/dialogs.h"
#include "print/printerseam.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace {

const QString Caption = QStringLiteral("ZOR-Quorvane");

} // namespace

// Prints straight on the default printer, without a dialog. The window and the
// report are only read.
void TSDIAppForm::FilePrintExecute1()
{
    commitPendingEdit();
    guarded([this] {
        std::unique_ptr<QPrinter> printer = zor::PrinterSeam::printer();
        if (!printer) {
            // Most Linux desktops have no printer set up; the PDF is the way out.
            zor::Dialogs::message(
                this,
                QStringLiteral("Es ist kein Drucker eingerichtet, daher kann der Bericht nicht "
                               "gedruckt werden.\n\nMit \"Als PDF speichern...\" im Men\u00fc "
                               "\"Datei\" k\u00f6nnen Sie den Bericht als PDF-Datei speichern "
                               "und sp\u00e4ter drucken oder weitergeben."),
                Caption);
            return;
        }
        // The whole layout, counts included, is made before the job begins, so
        // a count that is no whole number stops here with no job open.
        const zor::PageGeometry page = zor::pageGeometry(*printer);
        const zor::PrintLayout layout = zor::layoutReport(page.width, page.height, page.dpiY,
                                                          QDate::currentDate(), currentReport());
        if (!zor::printLayout(*printer, layout)) {
            zor::Dialogs::message(
                this,
                QStringLiteral("Der Bericht konnte nicht gedruckt werden. Bitte pr\u00fcfen Sie "
                               "den Drucker oder speichern Sie den Bericht mit \"Als PDF "
                               "speichern...\"."),
                Caption);
        }
    });
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
        const QString path = zor::Dialogs::saveFile(
            this, QStringLiteral("Bericht als PDF speichern"), offered,
            QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        QString error;
        if (!zor::writePdf(layout, path, &error)) {
            zor::Dialogs::message(this,
                                  QStringLiteral("Die PDF-Datei \"%1\" konnte nicht geschrieben "
                                                 "werden:\n%2")
                                      .arg(path, error),
                                  Caption);
        }
    });
}
