#include "reportfile/reportwriter.h"

#include "core/cp1252.h"

#include <QIODevice>

namespace zor {

namespace {

// A line break or an end-of-file byte inside a value would shift every later
// line of the file, so such a value is refused instead of written.
bool breaksLayout(const QString &value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x1A)
            return true;
    }
    return false;
}

class LineSink
{
public:
    LineSink(QIODevice *device, QByteArray *buffer)
        : m_device(device)
        , m_buffer(buffer)
    { }

    Result<void> put(const QString &value, int lineNo)
    {
        if (breaksLayout(value)) {
            return Failure{QStringLiteral("Zeile %1 enth\u00e4lt einen Zeilenumbruch und kann so "
                                          "nicht gespeichert werden.")
                                   .arg(lineNo)};
        }
        // One reused buffer for every line: the list of masters can be long.
        m_line.resize(0);
        for (const QChar c : value) {
            const int b = cp1252::toByte(c);
            if (b < 0) {
                return Failure{QStringLiteral("Das Zeichen \u201e%1\u201c in Zeile %2 kann in "
                                              "der Berichtsdatei nicht gespeichert werden.")
                                       .arg(c)
                                       .arg(lineNo)};
            }
            m_line.append(static_cast<char>(b));
        }
        m_line.append("\r\n", 2);
        if (m_buffer) {
            m_buffer->append(m_line);
            return {};
        }
        const qint64 written = m_device->write(m_line);
        if (written != m_line.size()) {
            QString why = m_device->errorString();
            if (why.isEmpty() || why == QLatin1String("Unknown error"))
                why = QStringLiteral("Das Speichermedium hat nicht alle Daten angenommen.");
            return Failure{why};
        }
        return {};
    }

private:
    QIODevice *m_device;
    QByteArray *m_buffer;
    QByteArray m_line;
};

Result<void> emitReport(LineSink &sink, const Report &report)
{
    int lineNo = 0;
    for (const QString &t : report.texts) {
        if (Result<void> put = sink.put(t, ++lineNo); !put)
            return put;
    }
    for (int g = 0; g < AgeGroupCount; ++g) {
        const QString line = QString::number(ageBound(g)) + QLatin1Char(' ') + report.counts[g][Men]
                             + QLatin1Char(' ') + report.counts[g][Women];
        if (Result<void> put = sink.put(line, ++lineNo); !put)
            return put;
    }
    for (const QString &m : report.masters) {
        if (Result<void> put = sink.put(m, ++lineNo); !put)
            return put;
    }
    return {};
}

} // namespace

Result<void> writeReport(QIODevice &device, const Report &report)
{
    LineSink sink(&device, nullptr);
    return emitReport(sink, report);
}

Result<QByteArray> encodeReport(const Report &report)
{
    QByteArray out;
    qsizetype size = AgeGroupCount * 32;
    for (const QString &t : report.texts)
        size += t.size() + 2;
    for (const QString &m : report.masters)
        size += m.size() + 2;
    out.reserve(size);
    LineSink sink(nullptr, &out);
    if (Result<void> emitted = emitReport(sink, report); !emitted)
        return emitted.failure();
    return out;
}

SaveResult saveReport(const QString &path, const Report &report, Links links)
{
    const Result<QByteArray> bytes = encodeReport(report);
    if (!bytes)
        return SaveFailure{SaveFailure::NotWritten, bytes.reason()};
    return writeFileSafely(path, *bytes, links);
}

} // namespace zor
