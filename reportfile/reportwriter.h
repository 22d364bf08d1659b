#pragma once

#include "core/result.h"
#include "reportfile/report.h"
#include "reportfile/safefile.h"

#include <QByteArray>
#include <QString>

namespace zor {

// The report file's bytes: the sixteen texts, the seven member lines
// ("6 m w" ... "500 m w"), one line per master, Windows-1252, CR LF after every
// line. Fails, saying which line, for a value the file cannot hold: a line
// break or an end-of-file byte in it, or a character Windows-1252 has no
// byte for.
Result<QByteArray> encodeReport(const Report &report);

// Saves the report under path through writeFileSafely: the old file survives
// every failure. A value the file cannot hold is refused before anything is
// written (NotWritten, with the reason).
SaveResult saveReport(const QString &path, const Report &report, Links links = Links::Follow);

} // namespace zor
