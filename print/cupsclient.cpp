#include "print/cupsclient.h"

#include "core/texts.h"

#include <cups/cups.h>
#include <dlfcn.h>

#include <mutex>

namespace zor::cups {

namespace {

// The few libcups calls the program makes, resolved by name at first use.
#define ZOR_CUPS_CALLS(X) \
    X(cupsAddOption) \
    X(cupsCancelJob2) \
    X(cupsCreateJob) \
    X(cupsDoRequest) \
    X(cupsEncryption) \
    X(cupsFinishDocument) \
    X(cupsFreeDests) \
    X(cupsFreeOptions) \
    X(cupsGetDests2) \
    X(cupsLastError) \
    X(cupsLastErrorString) \
    X(cupsServer) \
    X(cupsStartDocument) \
    X(cupsUser) \
    X(cupsWriteRequestData) \
    X(httpAssembleURIf) \
    X(httpClose) \
    X(httpConnect2) \
    X(httpSetTimeout) \
    X(ippAddString) \
    X(ippAddStrings) \
    X(ippDelete) \
    X(ippFindAttribute) \
    X(ippGetBoolean) \
    X(ippGetCount) \
    X(ippGetInteger) \
    X(ippGetString) \
    X(ippNewRequest) \
    X(ippPort)

struct Api
{
#define ZOR_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    ZOR_CUPS_CALLS(ZOR_CUPS_POINTER)
#undef ZOR_CUPS_POINTER
};

constexpr const char *LibraryName = "libcups.so.2";

// Null when libcups is missing or lacks one of the calls.
const Api *api()
{
    static Api loaded;
    static bool ok = false;
    static std::once_flag once;
    std::call_once(once, [] {
        // Kept for the rest of the run: Qt's own print support uses the same library.
        void *library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        ok = true;
#define ZOR_CUPS_RESOLVE(name) \
    loaded.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
    ok = ok && loaded.name;
        ZOR_CUPS_CALLS(ZOR_CUPS_RESOLVE)
#undef ZOR_CUPS_RESOLVE
    });
    return ok ? &loaded : nullptr;
}

http_t *asHttp(void *p)
{
    return static_cast<http_t *>(p);
}

// libcups calls this after each slice of a wait in which nothing came.
int onWait(http_t *, void *connection)
{
    return static_cast<Connection *>(connection)->stillWaiting() ? 1 : 0;
}

constexpr double WaitSliceSeconds = 0.1;

QString text(const Api &c, ipp_t *response, const char *name)
{
    ipp_attribute_t *a = c.ippFindAttribute(response, name, IPP_TAG_ZERO);
    if (!a)
        return QString();
    return QString::fromUtf8(c.ippGetString(a, 0, nullptr)).trimmed();
}

QStringList keywords(const Api &c, ipp_t *response, const char *name)
{
    QStringList out;
    if (ipp_attribute_t *a = c.ippFindAttribute(response, name, IPP_TAG_KEYWORD)) {
        for (int i = 0; i < c.ippGetCount(a); ++i) {
            const QString k = QString::fromUtf8(c.ippGetString(a, i, nullptr));
            if (!k.isEmpty() && k != QLatin1String("none"))
                out << k;
        }
    }
    return out;
}

bool succeeded(const Api &c, ipp_t *response)
{
    return response && c.cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

} // namespace

QString noAnswerText()
{
    return QStringLiteral("Der Druckdienst antwortet nicht (%1 Sekunden ohne Antwort).")
            .arg(PatienceMs / 1000);
}

Result<void> available()
{
    if (!api())
        return Failure{QStringLiteral(
                "Zum Drucken fehlt die Bibliothek libcups (Debian-Paket \"libcups2\"); ohne sie "
                "erreicht das Programm keinen Drucker.")};
    return {};
}

Result<std::unique_ptr<Connection>> Connection::open(std::function<bool()> keepGoing)
{
    const Api *c = api();
    if (!c)
        return available().failure();
    std::unique_ptr<Connection> connection(new Connection);
    connection->m_keepGoing = std::move(keepGoing);
    connection->m_clock.start();
    connection->beginExchange();
    connection->m_http = c->httpConnect2(c->cupsServer(), c->ippPort(), nullptr, AF_UNSPEC,
                                         c->cupsEncryption(), 1, PatienceMs, nullptr);
    if (!connection->m_http)
        return Failure{QStringLiteral("Das Drucksystem ist nicht erreichbar: ")
                       + QString::fromUtf8(c->cupsLastErrorString())};
    c->httpSetTimeout(asHttp(connection->m_http), WaitSliceSeconds, onWait, connection.get());
    return connection;
}

Connection::~Connection()
{
    if (m_http)
        api()->httpClose(asHttp(m_http));
}

void Connection::beginExchange()
{
    m_deadline = m_clock.elapsed() + PatienceMs;
}

bool Connection::stillWaiting()
{
    if (m_keepGoing && !m_keepGoing()) {
        m_cancelled = true;
        return false;
    }
    if (m_clock.elapsed() >= m_deadline) {
        m_timedOut = true;
        return false;
    }
    return true;
}

Failure Connection::failure(const QString &what) const
{
    if (m_cancelled)
        return Failure{};
    if (m_timedOut)
        return Failure{noAnswerText()};
    return Failure{what + QString::fromUtf8(api()->cupsLastErrorString())};
}

Result<Printers> Connection::printers()
{
    const Api &c = *api();
    // One short question first: a spooler that does not answer it is told
    // after the patience, not after every request of the list has waited.
    beginExchange();
    ipp_t *probe = c.cupsDoRequest(asHttp(m_http), c.ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    const bool answered = probe || c.cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
    c.ippDelete(probe);
    if (!answered && (m_timedOut || m_cancelled))
        return failure(QString());

    // The same list, and the same default (LPDEST, PRINTER, lpoptions, the
    // server's), as the print dialog shows.
    beginExchange();
    cups_dest_t *dests = nullptr;
    const int count = c.cupsGetDests2(asHttp(m_http), &dests);
    if (m_timedOut || m_cancelled) {
        c.cupsFreeDests(count, dests);
        return failure(QString());
    }
    Printers p;
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromUtf8(dests[i].name);
        if (dests[i].instance)
            name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
        p.queues << name;
        if (dests[i].is_default)
            p.defaultQueue = name;
    }
    c.cupsFreeDests(count, dests);
    return p;
}

Result<QueueState> Connection::queueState(const QString &queue)
{
    const Api &c = *api();
    const QByteArray name = queue.toUtf8();
    char uri[HTTP_MAX_URI];
    c.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                       "/printers/%s", name.constData());
    ipp_t *request = c.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    c.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"printer-state", "printer-state-message",
                                         "printer-state-reasons", "printer-is-accepting-jobs"};
    c.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                    int(sizeof wanted / sizeof *wanted), nullptr, wanted);
    beginExchange();
    ipp_t *response = c.cupsDoRequest(asHttp(m_http), request, "/");
    if (!succeeded(c, response)) {
        const ipp_status_t status = c.cupsLastError();
        c.ippDelete(response);
        if (status == IPP_STATUS_ERROR_NOT_FOUND && !m_timedOut && !m_cancelled)
            return Failure{QStringLiteral("Den Drucker %1 gibt es im Drucksystem nicht.")
                                   .arg(quoted(queue))};
        return failure(QStringLiteral("Das Drucksystem ist nicht erreichbar: "));
    }
    QueueState s;
    if (ipp_attribute_t *a = c.ippFindAttribute(response, "printer-state", IPP_TAG_ENUM))
        s.stopped = c.ippGetInteger(a, 0) == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t *a = c.ippFindAttribute(response, "printer-is-accepting-jobs",
                                                IPP_TAG_BOOLEAN))
        s.accepting = c.ippGetBoolean(a, 0) != 0;
    s.message = text(c, response, "printer-state-message");
    s.reasons = keywords(c, response, "printer-state-reasons");
    c.ippDelete(response);
    return s;
}

Result<JobState> Connection::jobState(int jobId)
{
    const Api &c = *api();
    char uri[HTTP_MAX_URI];
    c.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                       "/jobs/%d", jobId);
    ipp_t *request = c.ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    c.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    static const char *const wanted[] = {"job-state", "job-state-reasons",
                                         "job-printer-state-message"};
    c.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                    int(sizeof wanted / sizeof *wanted), nullptr, wanted);
    beginExchange();
    ipp_t *response = c.cupsDoRequest(asHttp(m_http), request, "/");
    if (!succeeded(c, response)) {
        c.ippDelete(response);
        return failure(QStringLiteral("Das Drucksystem ist nicht erreichbar: "));
    }
    JobState j;
    if (ipp_attribute_t *a = c.ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
        j.state = c.ippGetInteger(a, 0);
    j.message = text(c, response, "job-printer-state-message");
    j.reasons = keywords(c, response, "job-state-reasons");
    c.ippDelete(response);
    return j;
}

Result<int> Connection::createHeldJob(const QString &queue,
                                      const QList<QPair<QByteArray, QByteArray>> &options)
{
    const Api &c = *api();
    cups_option_t *list = nullptr;
    int count = 0;
    for (const auto &o : options)
        count = c.cupsAddOption(o.first.constData(), o.second.constData(), count, &list);
    count = c.cupsAddOption("job-hold-until", "indefinite", count, &list);
    const QByteArray name = queue.toUtf8();
    beginExchange();
    const int job = c.cupsCreateJob(asHttp(m_http), name.constData(), nullptr, count, list);
    c.cupsFreeOptions(count, list);
    if (job == 0)
        return failure(QStringLiteral("Das Drucksystem hat den Auftrag abgelehnt: "));
    return job;
}

Result<void> Connection::startDocument(const QString &queue, int jobId)
{
    const Api &c = *api();
    const QByteArray name = queue.toUtf8();
    beginExchange();
    if (c.cupsStartDocument(asHttp(m_http), name.constData(), jobId, nullptr, CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return failure(QStringLiteral("Der Auftrag konnte nicht an das Drucksystem \u00fcbergeben "
                                      "werden: "));
    return {};
}

Result<void> Connection::write(const char *data, qsizetype length)
{
    beginExchange();
    if (api()->cupsWriteRequestData(asHttp(m_http), data, size_t(length)) != HTTP_STATUS_CONTINUE)
        return failure(QStringLiteral("Der Auftrag konnte nicht an das Drucksystem \u00fcbergeben "
                                      "werden: "));
    return {};
}

Result<void> Connection::finishDocument(const QString &queue)
{
    const QByteArray name = queue.toUtf8();
    beginExchange();
    if (api()->cupsFinishDocument(asHttp(m_http), name.constData()) > IPP_STATUS_OK_CONFLICTING)
        return failure(QStringLiteral("Der Auftrag konnte nicht an das Drucksystem \u00fcbergeben "
                                      "werden: "));
    return {};
}

Result<void> Connection::releaseJob(int jobId)
{
    const Api &c = *api();
    char uri[HTTP_MAX_URI];
    c.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                       "/jobs/%d", jobId);
    ipp_t *request = c.ippNewRequest(IPP_OP_RELEASE_JOB);
    c.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    c.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                   c.cupsUser());
    beginExchange();
    ipp_t *response = c.cupsDoRequest(asHttp(m_http), request, "/jobs");
    const bool ok = succeeded(c, response);
    c.ippDelete(response);
    if (!ok)
        return failure(QStringLiteral("Das Drucksystem hat den Auftrag nicht freigegeben: "));
    return {};
}

Result<void> Connection::cancelJob(const QString &queue, int jobId)
{
    const QByteArray name = queue.toUtf8();
    beginExchange();
    if (api()->cupsCancelJob2(asHttp(m_http), name.constData(), jobId, 0)
        > IPP_STATUS_OK_CONFLICTING)
        return failure(QStringLiteral("Der Auftrag konnte nicht zur\u00fcckgenommen werden: "));
    return {};
}

} // namespace zor::cups
