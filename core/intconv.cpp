#include "core/intconv.h"

namespace zor {

ConversionError::ConversionError(const QString &text)
    : m_text(text)
    , m_what(message().toUtf8())
{ }

QString ConversionError::message() const
{
    return QStringLiteral("'%1' ist kein g\u00fcltiger Integerwert").arg(m_text);
}

std::optional<qint32> parseInt32(const QString &text)
{
    int i = 0;
    const int n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(2147483648LL))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL || value < -2147483648LL)
        return std::nullopt;
    return static_cast<qint32>(value);
}

qint32 toInt32(const QString &text)
{
    if (const auto v = parseInt32(text))
        return *v;
    throw ConversionError(text);
}

} // namespace zor
