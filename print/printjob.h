#pragma once

#include "core/result.h"
#include "print/printlayout.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QPrinterInfo;

namespace zor {

// Lays the printer's own paper on it: the queue's default page size and the
// printable area that the queue reports for it, instead of Qt's default
// paper and margins.
void usePrintersPaper(QPrinter &printer, const QPrinterInfo &info);

// The printable area of the printer and paper set now, as the margins. Qt's
// print dialog only ever raises the margins while the user goes through its
// printers; this puts back those of the printer that prints.
void usePrintableArea(QPrinter &printer);

// Told how far a job has got (done of total steps); false cancels the job.
// Also asked while the job waits for the spooler, so a cancel is heard there.
using PrintProgress = std::function<bool(int done, int total)>;

// The pages `from` to `to` (1-based, 0 and 0 for all) of the layout as a PDF
// document, for a sheet with `pageLayout` at `resolution` dots per inch.
// Empty when cancelled or when the PDF could not be made.
QByteArray renderPdf(const PrintLayout &layout, const QPageLayout &pageLayout, int resolution,
                     int from, int to, const PrintProgress &progress = {});

// Why a job did not reach the printer.
struct PrintFailure
{
    QString reason; // German, for the user, with the queue's own reason; empty when cancelled
    bool cancelled = false;
    int jobId = 0; // the spooler's job that was taken back, if it had one
};

// A job the printer took: the spooler's job number, 0 when drawn on directly.
using PrintResult = Result<int, PrintFailure>;

// One print job of the layout on `printer`, begun and ended here; it waits
// for the spooler, so it belongs on a thread of its own. A queue of the
// system's print spooler gets the PDF of the layout on the printer's paper,
// at its resolution, through the spooler itself, so that a refusal is known;
// any other printer (a PDF file) is drawn on directly. The job is held until
// the whole document is with the spooler: cancelled through `progress`, or
// when the spooler stops answering, nothing of it is printed and it is taken
// back (later, when the spooler answers again).
PrintResult printJob(QPrinter &printer, const PrintLayout &layout,
                     const PrintProgress &progress = {});

// What a job for a spooler queue takes from its printer, read on the
// window's thread, so that the job may go on without the printer.
struct JobSettings
{
    QString queue; // empty: the printer is no spooler queue
    QPageLayout pageLayout;
    int resolution = 0;
    int fromPage = 0;
    int toPage = 0;
    int copies = 1;
    bool collate = true;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
};

JobSettings jobSettings(const QPrinter &printer);

// The job for a spooler queue, as above.
PrintResult printJob(const JobSettings &settings, const PrintLayout &layout,
                     const PrintProgress &progress = {});

// The printer's state keywords in German ("media-empty-error" says "kein
// Papier"), joined; keywords of other kinds as they come.
QString describeReasons(const QStringList &keywords);

// Follows a job that the spooler took until it is printed, fails or a few
// minutes have passed, on a thread of its own. When the job fails, is held
// back or the queue stops with it, `told` is called once on the window's
// thread, in German, with the spooler's reason. The watch ends with `owner`.
void watchJob(QObject *owner, const QString &queue, int jobId,
              const std::function<void(const QString &)> &told);

} // namespace zor
