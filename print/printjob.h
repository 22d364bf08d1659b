#pragma once

#include "print/printlayout.h"
#include "reportfile/result.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;
class QPageLayout;
class QPrinter;
class QPrinterInfo;

namespace zor {

// Lays the printer's own paper on it: the queue's default page size and the
// printable area that the queue reports for it, instead of Qt's default
// paper and margins.
void usePrintersPaper(QPrinter &printer, const QPrinterInfo &info);

// Told how far a job has got (done of total steps); false cancels the job.
using PrintProgress = std::function<bool(int done, int total)>;

// The pages `from` to `to` (1-based, 0 and 0 for all) of the layout as a PDF
// document, for a sheet with `pageLayout` at `resolution` dots per inch.
// Empty when cancelled or when the PDF could not be made.
QByteArray renderPdf(const PrintLayout &layout, const QPageLayout &pageLayout, int resolution,
                     int from, int to, const PrintProgress &progress = {});

// What the print system says of a queue.
struct QueueState
{
    bool accepting = true; // takes new jobs
    bool stopped = false;  // holds its jobs instead of printing them
    QString message;       // the queue's own reason, as its administrator gave it
};

// Fails when the print system cannot be asked or does not know the queue.
Result<QueueState> queueState(const QString &queue);

// Why a job did not reach the printer.
struct PrintFailure
{
    QString reason; // German, for the user, with the queue's own reason; empty when cancelled
    bool cancelled = false;
    int jobId = 0; // the spooler's job that was taken back, if it had one
};

// A job the printer took: the spooler's job number, 0 when drawn on directly.
using PrintResult = Result<int, PrintFailure>;

// One print job of the layout on `printer`, begun and ended here. A queue of
// the system's print spooler gets the PDF of the layout on the printer's
// paper, at its resolution, through the spooler itself, so that a refusal is
// known; any other printer (a PDF file) is drawn on directly. Cancelled
// through `progress`, no part of the job stays with the spooler.
PrintResult printJob(QPrinter &printer, const PrintLayout &layout,
                     const PrintProgress &progress = {});

// Follows a job that the spooler took until it is printed, fails or a few
// minutes have passed, without holding up the window. When the job fails or
// the queue stops with it, `failed` is told once, in German, with the
// spooler's reason. The watch ends with `owner`.
void watchJob(QObject *owner, const QString &queue, int jobId,
              const std::function<void(const QString &)> &failed);

} // namespace zor
