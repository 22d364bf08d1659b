#include "ui/cp1252validator.h"

#include "core/cp1252.h"

Cp1252Validator::Cp1252Validator(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State Cp1252Validator::validate(QString &input, int &pos) const
{
    for (const QChar c : input) {
        // Line breaks and other controls never belong in a one-line field,
        // nor do DEL and the C1 controls, which nobody can see.
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return Invalid;
    }
    if (zor::cp1252::canEncode(input))
        return Acceptable;
    // The cursor stays behind what was typed: both sides are kept apart.
    const zor::cp1252::Storable before = zor::cp1252::storable(input.left(pos));
    const zor::cp1252::Storable after = zor::cp1252::storable(input.mid(pos));
    QStringList left = before.dropped;
    for (const QString &c : after.dropped) {
        if (!left.contains(c))
            left.append(c);
    }
    input = before.text + after.text;
    pos = int(before.text.size());
    if (!left.isEmpty())
        emit const_cast<Cp1252Validator *>(this)->dropped(left);
    return Acceptable;
}
