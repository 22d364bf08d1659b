#pragma once

#include "reportfile/report.h"

#include <QString>
#include <QStringList>

#include <array>

namespace zor {

using ReportTexts = std::array<QString, FieldCount>;

struct CompletenessResult {
    ReportTexts texts;    // tidied: trimmed, empty optional fields "-", a short dojo postcode emptied
    QStringList failures; // one line per failed test, each ending in "\n"
    QString message;      // the whole text for the message box; empty when nothing failed

    bool passed() const { return failures.isEmpty(); }
};

// Removes every leading and trailing character of value 32 or below (blanks and
// control characters); a no-break space and all other characters stay.
QString trimControl(const QString &text);

// The check that gates every save: tidies the sixteen texts (file order) and
// tests them together with the member total as its label shows it.
CompletenessResult checkCompleteness(const ReportTexts &texts, const QString &allSumCaption);

} // namespace zor
