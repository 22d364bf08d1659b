#pragma once

#include "reportfile/report.h"
#include "reportfile/safefile.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace zor {

// Writes the report file's bytes: the sixteen texts, the seven member lines
// ("6 m w" ... "500 m w"), one line per master, Windows-1252, CR LF after every
// line. Every write is checked; false (and *error set) when the device took
// fewer bytes than it was given or a value cannot be stored in the file.
bool writeReport(QIODevice &device, const Report &report, QString *error);

// The same bytes in memory, or an empty array when writeReport would refuse.
QByteArray encodeReport(const Report &report, QString *error = nullptr);

// Saves the report under path through writeFileSafely: the old file survives
// every failure. A value the file cannot hold is refused before anything is
// written (NotWritten, with the reason).
SaveResult saveReport(const QString &path, const Report &report, Links links = Links::Follow);

} // namespace zor
