#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zor::cups {

// Every word with the print spooler goes through this unit. libcups is loaded
// only when printing first needs it, so the program starts without it and
// its many libraries, and a desktop without it is told so when it prints.
//
// All calls here wait for the spooler and are meant for a thread of their
// own, never the window's.

// How long the spooler may take to answer one request or to take one piece
// of a document before it counts as not answering.
constexpr int PatienceMs = 5000;

// Fails, in German, when libcups cannot be loaded.
Result<void> available();

// The printers the print system offers, and the one the user's session
// prints on by default (empty when none is chosen).
struct Printers
{
    QStringList queues;
    QString defaultQueue;
};

// What the print system says of a queue.
struct QueueState
{
    bool accepting = true; // takes new jobs
    bool stopped = false;  // holds its jobs instead of printing them
    QString message;       // the queue's own reason, as its administrator or driver gave it
    QStringList reasons;   // the printer's state keywords ("media-empty-error", ...)
};

// What the print system says of a job.
struct JobState
{
    int state = 0;   // the IPP job state
    QString message; // the printer's message about this job, as it came
    QStringList reasons;
};

// One connection of its own to the print system. Every wait on it gives up
// when the spooler has not answered within PatienceMs, or at once when
// `keepGoing` says no; failures then say which of the two it was.
class Connection
{
public:
    static Result<std::unique_ptr<Connection>> open(std::function<bool()> keepGoing = {});
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool timedOut() const { return m_timedOut; }
    bool cancelled() const { return m_cancelled; }

    Result<Printers> printers();
    Result<QueueState> queueState(const QString &queue);
    Result<JobState> jobState(int jobId);

    // A job that is held until released, so that nothing of it is printed
    // before the whole document is with the spooler.
    Result<int> createHeldJob(const QString &queue,
                              const QList<QPair<QByteArray, QByteArray>> &options);
    Result<void> startDocument(const QString &queue, int jobId);
    Result<void> write(const char *data, qsizetype length);
    Result<void> finishDocument(const QString &queue);
    Result<void> releaseJob(int jobId);
    Result<void> cancelJob(const QString &queue, int jobId);

    // Called by libcups while it waits.
    bool stillWaiting();

private:
    Connection() = default;
    void beginExchange();
    Failure failure(const QString &what) const;

    void *m_http = nullptr;
    std::function<bool()> m_keepGoing;
    QElapsedTimer m_clock;
    qint64 m_deadline = 0;
    bool m_timedOut = false;
    bool m_cancelled = false;
};

// The German text for the spooler not answering.
QString noAnswerText();

} // namespace zor::cups
