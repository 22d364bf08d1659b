#include "reportfile/reportwriter.h"

#include "reportfile/cp1252.h"

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

    bool put(const QString &value, int lineNo, QString *error)
    {
        if (breaksLayout(value)) {
            setError(error,
                     QStringLiteral("Zeile %1 enth\u00e4lt einen Zeilenumbruch und kann so nicht "
                                    "gespeichert werden.")
                             .arg(lineNo));
            return false;
        }
        // One reused buffer for every line: the list of masters can be long.
        m_line.resize(0);
        for (const QChar c : value) {
            const int b = cp1252::toByte(c);
            if (b < 0) {
                setError(error, QStringLiteral("Das Zeichen \u201e%1\u201c in Zeile %2 kann in der "
                                               "Berichtsdatei nicht gespeichert werden.")
                                        .arg(c)
                                        .arg(lineNo));
                return false;
            }
            m_line.append(static_cast<char>(b));
        }
        m_line.append("\r\n", 2);
        if (m_buffer) {
            m_buffer->append(m_line);
            return true;
        }
        const qint64 written = m_device->write(m_line);
        if (written != m_line.size()) {
            QString why = m_device->errorString();
            if (why.isEmpty() || why == QLatin1String("Unknown error"))
                why = QStringLiteral("Das Speichermedium hat nicht alle Daten angenommen.");
            setError(error, why);
            return false;
        }
        return true;
    }

private:
    static void setError(QString *error, const QString &text)
    {
        if (error)
            *error = text;
    }

    QIODevice *m_device;
    QByteArray *m_buffer;
    QByteArray m_line;
};

bool emitReport(LineSink &sink, const Report &report, QString *error)
{
    int lineNo = 0;
    for (const QString &t : report.texts) {
        if (!sink.put(t, ++lineNo, error))
            return false;
    }
    for (int g = 0; g < AgeGroupCount; ++g) {
        const QString line = QString::number(ageBound(g)) + QLatin1Char(' ') + report.counts[g][Men]
                             + QLatin1Char(' ') + report.counts[g][Women];
        if (!sink.put(line, ++lineNo, error))
            return false;
    }
    for (const QString &m : report.masters) {
        if (!sink.put(m, ++lineNo, error))
            return false;
    }
    return true;
}

} // namespace

bool writeReport(QIODevice &device, const Report &report, QString *error)
{
    LineSink sink(&device, nullptr);
    return emitReport(sink, report, error);
}

QByteArray encodeReport(const Report &report, QString *error)
{
    QByteArray out;
    qsizetype size = AgeGroupCount * 32;
    for (const QString &t : report.texts)
        size += t.size() + 2;
    for (const QString &m : report.masters)
        size += m.size() + 2;
    out.reserve(size);
    LineSink sink(nullptr, &out);
    if (!emitReport(sink, report, error))
        return {};
    return out;
}

SaveResult saveReport(const QString &path, const Report &report, Links links)
{
    QString error;
    const QByteArray bytes = encodeReport(report, &error);
    if (!error.isEmpty()) {
        SaveResult refused;
        refused.outcome = SaveOutcome::NotWritten;
        refused.reason = error;
        return refused;
    }
    return writeFileSafely(path, bytes, links);
}

} // namespace zor
