#pragma once

#include "reportfile/report.h"

#include <QString>
#include <QStringList>

namespace zor {

// Not a Result: the tidied texts go back into the window whether or not the
// check passed.
struct CompletenessCheck
{
    ReportTexts texts; // tidied: trimmed, empty optional fields "-", a short dojo postcode emptied
    QStringList failures; // one line per failed test, each ending in "\n"
    QString message;      // the whole text for the message box; empty when nothing failed

    bool passed() const { return failures.isEmpty(); }
};

// The check that gates every save: tidies the sixteen texts (file order) and
// tests them together with the member total as its label shows it.
CompletenessCheck checkCompleteness(const ReportTexts &texts, const QString &allSumCaption);

} // namespace zor
