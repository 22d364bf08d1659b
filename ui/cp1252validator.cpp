#include "ui/cp1252validator.h"

#include "reportfile/cp1252.h"

Cp1252Validator::Cp1252Validator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State Cp1252Validator::validate(QString &input, int &) const
{
    for (const QChar c : input) {
        // Line breaks and other controls never belong in a one-line field,
        // nor do DEL and the C1 controls, which nobody can see.
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || !zor::cp1252::canEncode(c))
            return Invalid;
    }
    return Acceptable;
}
