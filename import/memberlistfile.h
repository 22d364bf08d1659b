#pragma once

#include "import/membertable.h"

#include <QString>

namespace zor {

// Reads a member list from a file: a CSV text, an Excel workbook (.xlsx) or
// a LibreOffice spreadsheet (.ods), told apart by their bytes. A file over
// MaxMemberListBytes is refused before anything of it is read; so is a
// sheet without a row.
Result<MemberBook> readMemberListFile(const QString &path);

// The same for bytes already in memory (the size limit is the caller's).
Result<MemberBook> readMemberList(const QByteArray &bytes);

} // namespace zor
