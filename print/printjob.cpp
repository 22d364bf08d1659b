#include "print/printjob.h"

#include "print/reportpainter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include <cups/cups.h>

#include <memory>

namespace zor {

namespace {

// Sending the document in pieces keeps the window informed and lets a
// cancel stop it between two pieces.
constexpr int ChunkSize = 16 * 1024;

QString quoted(const QString &queue)
{
    return QStringLiteral("\"") + queue + QStringLiteral("\"");
}

QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QStringLiteral("\nGrund: ") + reason;
}

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

const char *sides(QPrinter::DuplexMode mode, QPageLayout::Orientation orientation)
{
    switch (mode) {
    case QPrinter::DuplexNone:
        return "one-sided";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    case QPrinter::DuplexAuto:
        return orientation == QPageLayout::Portrait ? "two-sided-long-edge"
                                                    : "two-sided-short-edge";
    }
    return "one-sided";
}

// Draws straight on a printer that is no spooler queue (a PDF file).
PrintResult paintOnPrinter(QPrinter &printer, const PrintLayout &layout)
{
    if (!printLayout(printer, layout))
        return PrintFailure{QStringLiteral("Der Drucker hat den Auftrag nicht angenommen.")};
    return 0;
}

// Refuses a queue that would not print the job now, with its own reason.
Result<void> queueTakesJobs(const QString &queue)
{
    const Result<QueueState> s = queueState(queue);
    if (!s)
        return s.failure();
    if (!s->accepting) {
        return Failure{
                withReason(QStringLiteral("Der Drucker %1 nimmt zurzeit keine Auftr\u00e4ge an.")
                                   .arg(quoted(queue)),
                           s->message)};
    }
    if (s->stopped) {
        // A job sent there would wait unseen until someone starts the queue again.
        return Failure{withReason(
                QStringLiteral("Der Drucker %1 ist angehalten.").arg(quoted(queue)), s->message)};
    }
    return {};
}

// What the spooler says of one job: its state and the printer's message.
struct JobState
{
    int state = 0; // 0 when the spooler could not be asked
    QString message;
};

JobState jobState(int jobId)
{
    JobState j;
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    static const char *const wanted[] = {"job-state", "job-printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(sizeof wanted / sizeof *wanted), nullptr, wanted);
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING) {
        if (ipp_attribute_t *a = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
            j.state = ippGetInteger(a, 0);
        if (ipp_attribute_t *a = ippFindAttribute(response, "job-printer-state-message",
                                                  IPP_TAG_TEXT))
            j.message = QString::fromUtf8(ippGetString(a, 0, nullptr)).trimmed();
    }
    ippDelete(response);
    return j;
}

} // namespace

void usePrintersPaper(QPrinter &printer, const QPrinterInfo &info)
{
    const QPageSize size = info.defaultPageSize();
    if (size.isValid())
        printer.setPageSize(size);
    // Setting the size makes the printable area of that size the least
    // margins; the page then uses exactly that area.
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

QByteArray renderPdf(const PrintLayout &layout, const QPageLayout &pageLayout, int resolution,
                     int from, int to, const PrintProgress &progress)
{
    const int count = layout.pages.size();
    const int first = from > 0 ? qMin(from, count) : 1;
    const int last = to > 0 ? qMin(to, count) : count;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution);
        writer.setPageLayout(pageLayout);
        writer.setCreator(QStringLiteral("ZOR-Quorvane"));
        QPainter painter;
        if (!painter.begin(&writer))
            return QByteArray();
        for (int p = first; p <= last; ++p) {
            if (progress && !progress(p - first, last - first + 1)) {
                painter.end();
                return QByteArray();
            }
            if (p > first && !writer.newPage()) {
                painter.end();
                return QByteArray();
            }
            paintLayout(painter, writer, {layout.pages[p - 1]});
        }
        painter.end();
    }
    return bytes;
}

Result<QueueState> queueState(const QString &queue)
{
    const QByteArray name = queue.toUtf8();
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", name.constData());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"printer-state", "printer-state-message",
                                         "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(sizeof wanted / sizeof *wanted), nullptr, wanted);
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    const ipp_status_t status = cupsLastError();
    if (!response || status > IPP_STATUS_OK_CONFLICTING) {
        ippDelete(response);
        if (status == IPP_STATUS_ERROR_NOT_FOUND)
            return Failure{QStringLiteral("Den Drucker %1 gibt es im Drucksystem nicht.")
                                   .arg(quoted(queue))};
        return Failure{QStringLiteral("Das Drucksystem ist nicht erreichbar: ") + lastCupsError()};
    }
    QueueState s;
    if (ipp_attribute_t *a = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM))
        s.stopped = ippGetInteger(a, 0) == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t *a = ippFindAttribute(response, "printer-is-accepting-jobs",
                                              IPP_TAG_BOOLEAN))
        s.accepting = ippGetBoolean(a, 0) != 0;
    if (ipp_attribute_t *a = ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
        s.message = QString::fromUtf8(ippGetString(a, 0, nullptr)).trimmed();
    ippDelete(response);
    return s;
}

PrintResult printJob(QPrinter &printer, const PrintLayout &layout, const PrintProgress &progress)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return paintOnPrinter(printer, layout);

    const QString queue = printer.printerName();
    if (const Result<void> takes = queueTakesJobs(queue); !takes)
        return PrintFailure{takes.reason()};
    PrintFailure r; // what is told when the job does not get through

    const int pages = layout.pages.size();
    int total = pages + 1;
    const QByteArray pdf = renderPdf(layout, printer.pageLayout(), printer.resolution(),
                                     printer.fromPage(), printer.toPage(), [&](int done, int) {
                                         r.cancelled = progress && !progress(done, total);
                                         return !r.cancelled;
                                     });
    if (r.cancelled)
        return r;
    if (pdf.isEmpty())
        return PrintFailure{QStringLiteral("Die Druckseiten konnten nicht erzeugt werden.")};
    const int chunks = int((pdf.size() + ChunkSize - 1) / ChunkSize);
    total = pages + chunks;
    if (progress && !progress(pages, total)) {
        r.cancelled = true;
        return r;
    }

    // A connection of the job's own: one that is dropped halfway through the
    // document leaves the spooler nothing to print.
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                30000, nullptr);
    if (!http)
        return PrintFailure{QStringLiteral("Das Drucksystem ist nicht erreichbar: ")
                            + lastCupsError()};
    const QByteArray name = queue.toUtf8();
    cups_option_t *options = nullptr;
    int optionCount = 0;
    optionCount = cupsAddOption("copies",
                                QByteArray::number(qMax(1, printer.copyCount())).constData(),
                                optionCount, &options);
    if (printer.copyCount() > 1)
        optionCount = cupsAddOption("collate", printer.collateCopies() ? "true" : "false",
                                    optionCount, &options);
    const QByteArray media = printer.pageLayout().pageSize().key().toUtf8();
    if (!media.isEmpty())
        optionCount = cupsAddOption("media", media.constData(), optionCount, &options);
    optionCount = cupsAddOption("sides",
                                sides(printer.duplex(), printer.pageLayout().orientation()),
                                optionCount, &options);
    // The pages are already laid out for the printable area of this paper.
    optionCount = cupsAddOption("print-scaling", "none", optionCount, &options);

    const int job = cupsCreateJob(http, name.constData(), nullptr, optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0) {
        r.reason = QStringLiteral("Das Drucksystem hat den Auftrag abgelehnt: ") + lastCupsError();
        httpClose(http);
        return r;
    }
    r.jobId = job;

    bool sent = cupsStartDocument(http, name.constData(), job, nullptr, CUPS_FORMAT_PDF, 1)
                == HTTP_STATUS_CONTINUE;
    for (int c = 0; sent && c < chunks; ++c) {
        if (progress && !progress(pages + c, total)) {
            r.cancelled = true;
            sent = false;
            break;
        }
        const qsizetype offset = qsizetype(c) * ChunkSize;
        const size_t length = size_t(qMin<qsizetype>(ChunkSize, pdf.size() - offset));
        sent = cupsWriteRequestData(http, pdf.constData() + offset, length) == HTTP_STATUS_CONTINUE;
    }
    QString sendError;
    if (sent) {
        sent = cupsFinishDocument(http, name.constData()) <= IPP_STATUS_OK_CONFLICTING;
        if (!sent)
            sendError = lastCupsError();
    } else if (!r.cancelled) {
        sendError = lastCupsError();
    }
    httpClose(http);
    if (!sent) {
        // The job is taken back whole, never left half sent.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        if (!r.cancelled)
            r.reason = QStringLiteral("Der Auftrag konnte nicht an das Drucksystem \u00fcbergeben "
                                      "werden: ")
                       + sendError;
        return r;
    }
    if (progress)
        progress(total, total);
    return job;
}

namespace {

// The queue's own reason, empty when the print system cannot be asked.
QString queueMessage(const QString &queue)
{
    const Result<QueueState> q = queueState(queue);
    return q ? q->message : QString();
}

} // namespace

void watchJob(QObject *owner, const QString &queue, int jobId,
              const std::function<void(const QString &)> &failed)
{
    auto *timer = new QTimer(owner);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        const JobState j = jobState(jobId);
        QString text;
        bool over = j.state == IPP_JSTATE_COMPLETED || clock->elapsed() > 5 * 60 * 1000;
        if (j.state == IPP_JSTATE_CANCELED || j.state == IPP_JSTATE_ABORTED) {
            text = withReason(QStringLiteral("Der Druckauftrag auf dem Drucker %1 ist gescheitert; "
                                             "es wurde nichts gedruckt.")
                                      .arg(quoted(queue)),
                              j.message.isEmpty() ? queueMessage(queue) : j.message);
        } else if (j.state == IPP_JSTATE_STOPPED || j.state == IPP_JSTATE_PENDING) {
            const Result<QueueState> q = queueState(queue);
            if (q && q->stopped)
                text = withReason(QStringLiteral("Der Drucker %1 wurde angehalten; der Auftrag "
                                                 "wartet dort.")
                                          .arg(quoted(queue)),
                                  q->message);
        }
        if (!text.isEmpty()) {
            over = true;
            failed(text);
        }
        if (over) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(500);
}

} // namespace zor
