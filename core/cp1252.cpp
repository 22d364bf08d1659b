#include "core/cp1252.h"

namespace zor::cp1252 {

namespace {

const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar toUnicode(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(high[byte - 0x80]);
    return QChar(char16_t(byte));
}

QString decode(const char *data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = toUnicode(static_cast<uchar>(data[i]));
    return out;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

int toByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (high[i] == u)
            return 0x80 + i;
    }
    return -1;
}

bool canEncode(QChar c)
{
    return toByte(c) >= 0;
}

bool canEncode(const QString &text)
{
    for (const QChar c : text) {
        if (!canEncode(c))
            return false;
    }
    return true;
}

Storable storable(const QString &text)
{
    Storable out;
    const QString composed = text.normalized(QString::NormalizationForm_C);
    out.text.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const QChar c = composed.at(i);
        if (canEncode(c)) {
            out.text.append(c);
            continue;
        }
        // A character beyond the first 65,536 comes as two halves; it is one character.
        QString whole(c);
        if (c.isHighSurrogate() && i + 1 < composed.size() && composed.at(i + 1).isLowSurrogate())
            whole.append(composed.at(++i));
        if (!out.dropped.contains(whole))
            out.dropped.append(whole);
    }
    return out;
}

} // namespace zor::cp1252
