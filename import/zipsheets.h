#pragma once

#include "import/membertable.h"

#include <QByteArray>

namespace zor {

// Reads every worksheet of an Excel workbook (.xlsx): shared and inline
// strings, numbers, and numbers with a date format as dates (1900 and 1904
// date systems), formulas without a stored result, hidden rows and columns.
// Part names may be absolute or relative, as different writers put them; a
// part that is named but missing is read as empty.
Result<MemberBook> readXlsx(const QByteArray &bytes, const ProgressHook &progress = {});

// Reads every table of a LibreOffice spreadsheet (.ods); date cells carry
// their office:date-value. A file saved with a password is refused.
Result<MemberBook> readOds(const QByteArray &bytes, const ProgressHook &progress = {});

// Whether the bytes are a zip archive that holds a LibreOffice document
// rather than an Excel one.
bool looksLikeOds(const QByteArray &bytes);

// The date of a spreadsheet serial number; invalid for a serial that names
// no day (0, the 29 February 1900 of the 1900 system, or out of range).
QDate dateFromSerial(double serial, bool date1904);

} // namespace zor
