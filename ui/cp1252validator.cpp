#include "ui/cp1252validator.h"

#include "reportfile/cp1252.h"

Cp1252Validator::Cp1252Validator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State Cp1252Validator::validate(QString &input, int &) const
{
    for (const QChar c : input) {
        // Line breaks and other controls never belong in a one-line field.
        if (c.unicode() < 0x20 || !zor::cp1252::canEncode(c))
            return Invalid;
    }
    return Acceptable;
}
