#include "print/printjob.h"

#include "core/texts.h"
#include "print/cupsclient.h"
#include "print/offthread.h"
#include "print/reportpainter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include <cups/ipp.h>

#include <chrono>
#include <memory>

namespace zor {

namespace {

// Sending the document in pieces keeps the window informed and lets a
// cancel stop it between two pieces.
constexpr int ChunkSize = 16 * 1024;

// A job taken back while the spooler does not answer is taken back once it
// answers again; after this long the spooler drops the unfinished job itself.
constexpr int TakeBackForMs = 15 * 60 * 1000;
constexpr int WatchForMs = 5 * 60 * 1000;
constexpr int WatchEveryMs = 500;

// The spooler's own message as it came, and the printer's state in German.
QString withReason(const QString &text, const QString &message, QStringList reasons = {},
                   const QString &alreadySaid = {})
{
    reasons.removeAll(alreadySaid);
    const QString state = describeReasons(reasons);
    QString out = text;
    if (!message.isEmpty())
        out += QStringLiteral("\nGrund: ") + message;
    if (!state.isEmpty())
        out += (message.isEmpty() ? QStringLiteral("\nGrund: ")
                                  : QStringLiteral("\nDer Drucker meldet: "))
               + state;
    return out;
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
Result<void> queueTakesJobs(cups::Connection &spooler, const QString &queue)
{
    const Result<cups::QueueState> s = spooler.queueState(queue);
    if (!s)
        return s.failure();
    if (!s->accepting) {
        return Failure{
                withReason(QStringLiteral("Der Drucker %1 nimmt zurzeit keine Auftr\u00e4ge an.")
                                   .arg(quoted(queue)),
                           s->message, s->reasons)};
    }
    if (s->stopped) {
        // A job sent there would wait unseen until someone starts the queue again.
        return Failure{
                withReason(QStringLiteral("Der Drucker %1 ist angehalten.").arg(quoted(queue)),
                           s->message, s->reasons, QStringLiteral("paused"))};
    }
    return {};
}

bool isOver(int jobState)
{
    return jobState >= IPP_JSTATE_CANCELED;
}

// Takes a job back as soon as the spooler answers again, on a thread of its own.
void takeBackLater(const QString &queue, int jobId)
{
    OffThread<bool>::start([queue, jobId](OffThread<bool>::State &) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < TakeBackForMs) {
            if (auto spooler = cups::Connection::open(); spooler) {
                if ((*spooler)->cancelJob(queue, jobId))
                    return true;
                const Result<cups::JobState> j = (*spooler)->jobState(jobId);
                if (j && isOver(j->state))
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        return false;
    });
}

// Takes back a held job whose document did not get through whole.
void takeBack(const QString &queue, int jobId, bool spoolerAnswers)
{
    if (spoolerAnswers) {
        if (auto spooler = cups::Connection::open(); spooler && (*spooler)->cancelJob(queue, jobId))
            return;
    }
    takeBackLater(queue, jobId);
}

} // namespace

void usePrintersPaper(QPrinter &printer, const QPrinterInfo &info)
{
    const QPageSize size = info.defaultPageSize();
    if (size.isValid())
        printer.setPageSize(size);
    usePrintableArea(printer);
}

void usePrintableArea(QPrinter &printer)
{
    // The page layout of the paper now set knows its printer's printable
    // area as its least margins; the page then uses exactly that area.
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
        writer.setCreator(zor::programName());
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

JobSettings jobSettings(const QPrinter &printer)
{
    JobSettings s;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        s.queue = printer.printerName();
    s.pageLayout = printer.pageLayout();
    s.resolution = printer.resolution();
    s.fromPage = printer.fromPage();
    s.toPage = printer.toPage();
    s.copies = printer.copyCount();
    s.collate = printer.collateCopies();
    s.duplex = printer.duplex();
    return s;
}

PrintResult printJob(QPrinter &printer, const PrintLayout &layout, const PrintProgress &progress)
{
    const JobSettings settings = jobSettings(printer);
    if (settings.queue.isEmpty())
        return paintOnPrinter(printer, layout);
    return printJob(settings, layout, progress);
}

PrintResult printJob(const JobSettings &printer, const PrintLayout &layout,
                     const PrintProgress &progress)
{
    const QString queue = printer.queue;
    PrintFailure r; // what is told when the job does not get through
    const int pages = layout.pages.size();
    int done = 0;
    int total = pages + 1;
    const auto goOn = [&] {
        r.cancelled = r.cancelled || (progress && !progress(done, total));
        return !r.cancelled;
    };
    Result<std::unique_ptr<cups::Connection>> opened = cups::Connection::open(goOn);
    if (!opened)
        return PrintFailure{opened.reason()};
    cups::Connection &spooler = **opened;
    const auto failed = [&](const Failure &f) {
        r.cancelled = spooler.cancelled();
        r.reason = f.reason;
        return r;
    };
    if (const Result<void> takes = queueTakesJobs(spooler, queue); !takes)
        return failed(takes.failure());

    const QByteArray pdf = renderPdf(layout, printer.pageLayout, printer.resolution,
                                     printer.fromPage, printer.toPage, [&](int d, int) {
                                         done = d;
                                         return goOn();
                                     });
    if (r.cancelled)
        return r;
    if (pdf.isEmpty())
        return PrintFailure{QStringLiteral("Die Druckseiten konnten nicht erzeugt werden.")};
    const int chunks = int((pdf.size() + ChunkSize - 1) / ChunkSize);
    done = pages;
    total = pages + chunks;
    if (!goOn())
        return r;

    QList<QPair<QByteArray, QByteArray>> options;
    const auto option = [&options](const char *name, const QByteArray &value) {
        options.append(qMakePair(QByteArray(name), value));
    };
    option("copies", QByteArray::number(qMax(1, printer.copies)));
    if (printer.copies > 1)
        option("collate", printer.collate ? "true" : "false");
    const QByteArray media = printer.pageLayout.pageSize().key().toUtf8();
    if (!media.isEmpty())
        option("media", media);
    option("sides", sides(printer.duplex, printer.pageLayout.orientation()));
    // The pages are already laid out for the printable area of this paper.
    option("print-scaling", "none");

    const Result<int> job = spooler.createHeldJob(queue, options);
    if (!job)
        return failed(job.failure());
    r.jobId = *job;

    Result<void> sent = spooler.startDocument(queue, r.jobId);
    for (int c = 0; sent && c < chunks; ++c) {
        done = pages + c;
        if (!goOn()) {
            sent = Failure{};
            break;
        }
        const qsizetype offset = qsizetype(c) * ChunkSize;
        sent = spooler.write(pdf.constData() + offset,
                             qMin<qsizetype>(ChunkSize, pdf.size() - offset));
    }
    if (sent)
        sent = spooler.finishDocument(queue);
    // Cancelled now, the job is still held: nothing of it is printed.
    if (sent && !goOn())
        sent = Failure{};
    if (sent) {
        sent = spooler.releaseJob(r.jobId);
        if (!sent && spooler.timedOut()) {
            // The release may have reached the spooler: the job is left to print.
            r.reason = sent.reason()
                       + QStringLiteral("\nOb der Bericht gedruckt wird, ist nicht sicher; "
                                        "bitte sehen Sie am Drucker nach.");
            return r;
        }
    }
    if (!sent) {
        // The job is taken back whole, never left half sent.
        r.cancelled = r.cancelled || spooler.cancelled();
        if (!r.cancelled)
            r.reason = sent.reason();
        if (spooler.timedOut())
            r.reason += QStringLiteral("\nDer Auftrag wird zur\u00fcckgenommen, sobald der "
                                       "Druckdienst wieder antwortet; gedruckt wird nichts.");
        takeBack(queue, r.jobId, !spooler.timedOut());
        return r;
    }
    if (progress)
        progress(total, total);
    return r.jobId;
}

QString describeReasons(const QStringList &keywords)
{
    static const QHash<QString, QString> german = {
            {QStringLiteral("other"), QStringLiteral("eine St\u00f6rung")},
            {QStringLiteral("media-needed"), QStringLiteral("Papier einlegen")},
            {QStringLiteral("media-jam"), QStringLiteral("Papierstau")},
            {QStringLiteral("media-empty"), QStringLiteral("kein Papier")},
            {QStringLiteral("media-low"), QStringLiteral("wenig Papier")},
            {QStringLiteral("moving-to-paused"), QStringLiteral("wird angehalten")},
            {QStringLiteral("paused"), QStringLiteral("angehalten")},
            {QStringLiteral("shutdown"), QStringLiteral("ausgeschaltet")},
            {QStringLiteral("connecting-to-device"),
             QStringLiteral("Verbindung zum Drucker wird aufgebaut")},
            {QStringLiteral("timed-out"), QStringLiteral("der Drucker antwortet nicht")},
            {QStringLiteral("stopping"), QStringLiteral("h\u00e4lt an")},
            {QStringLiteral("stopped-partly"), QStringLiteral("teilweise angehalten")},
            {QStringLiteral("toner-low"), QStringLiteral("wenig Toner")},
            {QStringLiteral("toner-empty"), QStringLiteral("kein Toner")},
            {QStringLiteral("spool-area-full"), QStringLiteral("Druckspeicher voll")},
            {QStringLiteral("cover-open"), QStringLiteral("Abdeckung offen")},
            {QStringLiteral("interlock-open"), QStringLiteral("Verriegelung offen")},
            {QStringLiteral("door-open"), QStringLiteral("Klappe offen")},
            {QStringLiteral("input-tray-missing"), QStringLiteral("Papierfach fehlt")},
            {QStringLiteral("output-tray-missing"), QStringLiteral("Ausgabefach fehlt")},
            {QStringLiteral("output-area-almost-full"), QStringLiteral("Ausgabefach fast voll")},
            {QStringLiteral("output-area-full"), QStringLiteral("Ausgabefach voll")},
            {QStringLiteral("marker-supply-low"), QStringLiteral("wenig Tinte oder Toner")},
            {QStringLiteral("marker-supply-empty"), QStringLiteral("Tinte oder Toner leer")},
            {QStringLiteral("marker-waste-almost-full"),
             QStringLiteral("Resttintenbeh\u00e4lter fast voll")},
            {QStringLiteral("marker-waste-full"), QStringLiteral("Resttintenbeh\u00e4lter voll")},
            {QStringLiteral("fuser-over-temp"), QStringLiteral("Fixiereinheit zu hei\u00df")},
            {QStringLiteral("fuser-under-temp"), QStringLiteral("Fixiereinheit zu kalt")},
            {QStringLiteral("opc-near-eol"), QStringLiteral("Bildtrommel bald verbraucht")},
            {QStringLiteral("opc-life-over"), QStringLiteral("Bildtrommel verbraucht")},
            {QStringLiteral("developer-low"), QStringLiteral("wenig Entwickler")},
            {QStringLiteral("developer-empty"), QStringLiteral("Entwickler leer")},
            {QStringLiteral("interpreter-resource-unavailable"),
             QStringLiteral("Druckersprache nicht verf\u00fcgbar")},
            {QStringLiteral("offline"), QStringLiteral("Drucker nicht erreichbar (offline)")},
            {QStringLiteral("cups-missing-filter"), QStringLiteral("ein Druckfilter fehlt")},
            {QStringLiteral("resources-are-not-ready"),
             QStringLiteral("der Drucker ist nicht bereit")},
            {QStringLiteral("printer-stopped"), QStringLiteral("Drucker angehalten")},
            {QStringLiteral("job-hold-until-specified"),
             QStringLiteral("der Auftrag wird zur\u00fcckgehalten")},
    };
    QStringList out;
    for (const QString &k : keywords) {
        QString base = k;
        for (const QLatin1String suffix :
             {QLatin1String("-error"), QLatin1String("-warning"), QLatin1String("-report")}) {
            if (base.endsWith(suffix)) {
                base.chop(suffix.size());
                break;
            }
        }
        const QString said = german.value(base, k);
        if (!out.contains(said))
            out << said;
    }
    return out.join(QStringLiteral(", "));
}

namespace {

// What the spooler says of a job it took, in German when the user must know:
// empty while it is on its way or once printed.
struct Verdict
{
    bool over = false;
    QString text;
};

Verdict judge(cups::Connection &spooler, const QString &queue, const cups::JobState &j)
{
    if (j.state == IPP_JSTATE_COMPLETED)
        return {true, {}};
    if (j.state == IPP_JSTATE_CANCELED || j.state == IPP_JSTATE_ABORTED) {
        QString message = j.message;
        QStringList reasons;
        if (const Result<cups::QueueState> q = spooler.queueState(queue); q) {
            if (message.isEmpty())
                message = q->message;
            reasons = q->reasons;
        }
        return {true, withReason(QStringLiteral("Der Druckauftrag auf dem Drucker %1 ist "
                                                "gescheitert; es wurde nichts gedruckt.")
                                         .arg(quoted(queue)),
                                 message, reasons)};
    }
    if (j.state == IPP_JSTATE_HELD) {
        // The spooler could not reach the printer and tries again later.
        return {true, withReason(QStringLiteral("Der Bericht ist noch nicht gedruckt: Das "
                                                "Drucksystem h\u00e4lt den Auftrag auf dem "
                                                "Drucker %1 zur\u00fcck, um es sp\u00e4ter "
                                                "noch einmal zu versuchen.")
                                         .arg(quoted(queue)),
                                 j.message, j.reasons, QStringLiteral("job-hold-until-specified"))};
    }
    if (j.state == IPP_JSTATE_STOPPED || j.state == IPP_JSTATE_PENDING) {
        const Result<cups::QueueState> q = spooler.queueState(queue);
        if (q && q->stopped)
            return {true, withReason(QStringLiteral("Der Drucker %1 wurde angehalten; der "
                                                    "Auftrag wartet dort.")
                                             .arg(quoted(queue)),
                                     q->message, q->reasons, QStringLiteral("paused"))};
    }
    return {};
}

} // namespace

void watchJob(QObject *owner, const QString &queue, int jobId,
              const std::function<void(const QString &)> &told)
{
    auto watch = std::make_shared<OffThread<QString>>(
            OffThread<QString>::start([queue, jobId](OffThread<QString>::State &s) {
                QElapsedTimer clock;
                clock.start();
                std::unique_ptr<cups::Connection> spooler;
                while (!s.cancelled && clock.elapsed() < WatchForMs) {
                    if (!spooler) {
                        if (auto opened = cups::Connection::open([&s] { return !s.cancelled; }))
                            spooler = std::move(opened.value());
                    }
                    if (spooler) {
                        const Result<cups::JobState> j = spooler->jobState(jobId);
                        if (j) {
                            const Verdict v = judge(*spooler, queue, *j);
                            if (v.over)
                                return v.text;
                        } else {
                            // A spooler that does not answer now may answer later.
                            spooler.reset();
                        }
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(WatchEveryMs));
                }
                return QString();
            }));
    // The window's thread looks in now and then; the watch stops with the owner.
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::destroyed, [watch] { watch->cancel(); });
    QObject::connect(timer, &QTimer::timeout, timer, [timer, watch, told] {
        if (!watch->finished())
            return;
        timer->stop();
        timer->deleteLater();
        const QString text = watch->take();
        if (!text.isEmpty())
            told(text);
    });
    timer->start(250);
}

} // namespace zor
