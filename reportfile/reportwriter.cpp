#include "reportfile/reportwriter.h"

#include "core/cp1252.h"
#include "core/texts.h"

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

// Appends one line of the file: the value in Windows-1252, then CR LF.
Result<void> putLine(QByteArray &out, const QString &value, int lineNo)
{
    if (breaksLayout(value)) {
        return Failure{QStringLiteral("Zeile %1 enth\u00e4lt einen Zeilenumbruch und kann so "
                                      "nicht gespeichert werden.")
                               .arg(lineNo)};
    }
    for (const QChar c : value) {
        const int b = cp1252::toByte(c);
        if (b < 0) {
            return Failure{QStringLiteral("Das Zeichen %1 in Zeile %2 kann in "
                                          "der Berichtsdatei nicht gespeichert werden.")
                                   .arg(quoted(c), QString::number(lineNo))};
        }
        out.append(static_cast<char>(b));
    }
    out.append("\r\n", 2);
    return {};
}

} // namespace

Result<QByteArray> encodeReport(const Report &report)
{
    QByteArray out;
    qsizetype size = AgeGroupCount * 32;
    for (const QString &t : report.texts)
        size += t.size() + 2;
    for (const QString &m : report.masters)
        size += m.size() + 2;
    out.reserve(size);
    int lineNo = 0;
    for (const QString &t : report.texts) {
        if (Result<void> put = putLine(out, t, ++lineNo); !put)
            return put.failure();
    }
    for (int g = 0; g < AgeGroupCount; ++g) {
        const QString line = QString::number(ageBound(g)) + QLatin1Char(' ') + report.counts[g][Men]
                             + QLatin1Char(' ') + report.counts[g][Women];
        if (Result<void> put = putLine(out, line, ++lineNo); !put)
            return put.failure();
    }
    for (const QString &m : report.masters) {
        if (Result<void> put = putLine(out, m, ++lineNo); !put)
            return put.failure();
    }
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
