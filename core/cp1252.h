#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zor::cp1252 {

// Windows-1252 for all 256 bytes. The five bytes the code page leaves free
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// value, so every byte reads into a character that writes back as that byte.

QChar toUnicode(uchar byte);
QString decode(const QByteArray &bytes);
QString decode(const char *data, qsizetype size);

// -1 when the character has no byte in the code page.
int toByte(QChar c);
bool canEncode(QChar c);
bool canEncode(const QString &text);

// What of a text the code page can hold. Accents typed as a letter and a
// combining mark are put together first ("e" and U+0301 are "\u00e9").
struct Storable
{
    QString text;        // the text without the characters it cannot hold
    QStringList dropped; // those characters, each once, in the order they came
};
Storable storable(const QString &text);

} // namespace zor::cp1252
