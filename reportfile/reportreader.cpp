#include "reportfile/reportreader.h"

#include "core/cp1252.h"
#include "core/intconv.h"

namespace zor {

namespace {

constexpr char EndOfFile = 0x1A;

bool isBlank(char c)
{
    return static_cast<uchar>(c) <= 32;
}

QList<QByteArray> blankSeparated(const QByteArray &line)
{
    QList<QByteArray> out;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && !isBlank(line[i]))
            ++i;
        if (i > start)
            out.append(line.mid(start, i - start));
    }
    return out;
}

std::optional<qint32> number(const QByteArray &token)
{
    return parseInt32(QString::fromLatin1(token));
}

class Assembler
{
public:
    explicit Assembler(ReportAsRead &out)
        : m_out(out)
    {
        m_out = ReportAsRead();
        for (auto &row : m_out.report.counts)
            row = {QStringLiteral("0"), QStringLiteral("0")};
    }

    void line(const char *data, qsizetype size)
    {
        const int n = ++m_out.lineCount;
        if (n <= FieldCount)
            m_out.report.texts[n - 1] = cp1252::decode(data, size);
        else if (n <= FieldCount + AgeGroupCount)
            memberLine(n, QByteArray(data, size));
        else if (size > 0)
            m_out.report.masters.append(cp1252::decode(data, size));
    }

private:
    // Three whole numbers: the age bound (not used, the line's place gives the
    // row), men, women. Blanks of any kind and number separate them; a line
    // written from an empty cell ("26  2") still keeps each count in its place.
    void memberLine(int n, const QByteArray &bytes)
    {
        auto &row = m_out.report.counts[n - FieldCount - 1];
        const QList<QByteArray> tokens = blankSeparated(bytes);
        if (tokens.size() == 3) {
            const auto bound = number(tokens[0]);
            const auto men = number(tokens[1]);
            const auto women = number(tokens[2]);
            if (men)
                row[Men] = QString::number(*men);
            if (women)
                row[Women] = QString::number(*women);
            if (bound && men && women)
                return;
        } else {
            const QList<QByteArray> parts = bytes.split(' ');
            if (parts.size() > 1) {
                if (const auto men = number(parts[1]))
                    row[Men] = QString::number(*men);
            }
            if (parts.size() > 2) {
                if (const auto women = number(parts[2]))
                    row[Women] = QString::number(*women);
            }
        }
        m_out.unreadableLines.append(n);
    }

    ReportAsRead &m_out;
};

// Splits a stream of chunks into lines the way the file is meant to be read.
class LineSplitter
{
public:
    explicit LineSplitter(Assembler &sink)
        : m_sink(sink)
    { }

    // False once the end-of-file byte was met: nothing after it counts.
    bool feed(const char *data, qsizetype size)
    {
        qsizetype i = 0;
        while (i < size) {
            const qsizetype start = i;
            while (i < size && data[i] != '\n' && data[i] != '\r' && data[i] != EndOfFile)
                ++i;
            const char c = i < size ? data[i] : '\0';
            if (c == '\n' && m_pending.isEmpty()) {
                // The usual case: the whole line lies in this chunk.
                m_sink.line(data + start, i - start);
                ++i;
                continue;
            }
            if (i > start)
                m_pending.append(data + start, i - start);
            if (i == size)
                break;
            ++i;
            if (c == EndOfFile)
                return false;
            if (c == '\n')
                flush();
        }
        return true;
    }

    void finish()
    {
        if (!m_pending.isEmpty())
            flush();
    }

private:
    void flush()
    {
        m_sink.line(m_pending.constData(), m_pending.size());
        m_pending.resize(0); // keeps its capacity for the next long line
    }

    Assembler &m_sink;
    QByteArray m_pending;
};

} // namespace

ReportAsRead readReport(const QByteArray &bytes)
{
    ReportAsRead result;
    Assembler assembler(result);
    LineSplitter splitter(assembler);
    splitter.feed(bytes.constData(), bytes.size());
    splitter.finish();
    return result;
}

} // namespace zor
