#pragma once

#include "import/membertable.h"

#include <QString>

namespace zor {

// Reads a member list from a file: a CSV text, an Excel workbook (.xlsx) or
// a LibreOffice spreadsheet (.ods), told apart by their bytes. A file over
// MaxMemberListBytes is refused before anything of it is read; so is a
// sheet without a row, and a file saved with a password. This is the one
// way from a file to its sheets: it may run in a thread of its own, and
// `progress` (called from that thread) hears how far it is and may stop it.
Result<MemberBook> readMemberListFile(const QString &path, const ProgressHook &progress = {});

// The same for bytes already in memory (the size limit is the caller's).
Result<MemberBook> readMemberList(const QByteArray &bytes, const ProgressHook &progress = {});

} // namespace zor
