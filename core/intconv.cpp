#include "core/intconv.h"

#include <limits>

namespace zor {

ConversionError::ConversionError(const QString &text)
    : m_text(text)
    , m_what(message().toUtf8())
{ }

QString ConversionError::message() const
{
    return QStringLiteral("'%1' ist kein g\u00fcltiger Integerwert").arg(m_text);
}

std::optional<qint64> parseInt64(const QString &text)
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
    // Gathered as a negative number, whose range reaches one further.
    constexpr qint64 Lowest = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (Lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == Lowest)
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<qint32> parseInt32(const QString &text)
{
    const std::optional<qint64> value = parseInt64(text);
    if (!value || *value > std::numeric_limits<qint32>::max()
        || *value < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return static_cast<qint32>(*value);
}

qint32 toInt32(const QString &text)
{
    if (const auto v = parseInt32(text))
        return *v;
    throw ConversionError(text);
}

} // namespace zor
