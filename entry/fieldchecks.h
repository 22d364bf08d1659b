#pragma once

#include <QString>
#include <QStringList>

namespace zor {

// Whether an e-mail address looks complete enough: an "@" and one of the
// usual endings, found anywhere in the text (exact case).
bool isAcceptableEmail(const QString &address);

QString emailHintCaption();
QString emailHintText();

// True when the club number holds four digits that make 0 (or less), the
// value a club never has. A text that is not four digits gives false.
bool clubNumberNeedsHint(const QString &text);

QString clubNumberHintCaption();
QString clubNumberHintText();

// What the user is told when characters the report file cannot hold were
// left out of what was typed, pasted or read: "Das Zeichen „Ł“ kann im
// Bericht nicht gespeichert werden." Characters that cannot be seen are
// named by their number (U+200B).
QString unstorableCharactersText(const QStringList &characters);

} // namespace zor
