#pragma once

#include "core/result.h"
#include "reportfile/report.h"
#include "reportfile/safefile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zor {

// What the window held when its recovery copy was written: the whole report
// as typed (an incomplete report cannot be a report file), the report's file
// name and what that file held, and when it was made.
struct RecoveryCopy
{
    Report report;
    QString fileName;      // empty for a report never saved
    FileFingerprint known; // what fileName held when last opened or saved
    QDateTime made;

    bool operator==(const RecoveryCopy &o) const
    {
        return report == o.report && fileName == o.fileName && made == o.made
               && known.valid == o.known.valid && known.size == o.known.size
               && known.mtimeNs == o.known.mtimeNs && known.hash == o.known.hash;
    }
};

// The copy's own format (JSON, UTF-8), not a report file.
QByteArray encodeRecovery(const RecoveryCopy &copy);

// Fails, with the reason in German, for anything that is not a whole copy.
Result<RecoveryCopy> decodeRecovery(const QByteArray &bytes);

} // namespace zor
