#pragma once

#include <QString>

#include <exception>
#include <optional>

namespace zor {

// Raised when a text that must be a whole number is not one. Handlers catch it
// at their edge and show message() through the program's general error report.
class ConversionError : public std::exception
{
public:
    explicit ConversionError(const QString &text);
    const QString &text() const { return m_text; }
    QString message() const; // "'<text>' ist kein gültiger Integerwert"
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_text;
    QByteArray m_what;
};

// Strict decimal conversion to a signed 32-bit number: an optional sign, then
// one or more digits (leading zeros allowed), nothing else around them.
std::optional<qint32> parseInt32(const QString &text);

// The same for a signed 64-bit number, as the sums of the counts are.
std::optional<qint64> parseInt64(const QString &text);

// As parseInt32, but throws ConversionError when the text is not such a number.
qint32 toInt32(const QString &text);

} // namespace zor
