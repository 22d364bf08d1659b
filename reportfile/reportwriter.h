#pragma once

#include "core/result.h"
#include "reportfile/report.h"
#include "reportfile/safefile.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace zor {

// Writes the report file's bytes: the sixteen texts, the seven member lines
// ("6 m w" ... "500 m w"), one line per master, Windows-1252, CR LF after every
// line. Every write is checked; it fails when the device took fewer bytes
// than it was given or a value cannot be stored in the file.
Result<void> writeReport(QIODevice &device, const Report &report);

// The same bytes in memory; fails where writeReport would refuse.
Result<QByteArray> encodeReport(const Report &report);

// Saves the report under path through writeFileSafely: the old file survives
// every failure. A value the file cannot hold is refused before anything is
// written (NotWritten, with the reason).
SaveResult saveReport(const QString &path, const Report &report, Links links = Links::Follow);

} // namespace zor
