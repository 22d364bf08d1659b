#pragma once

#include "import/membertable.h"

#include <QByteArray>

namespace zor {

// How a CSV file was written, as found out from its bytes.
struct CsvDialect
{
    enum Encoding { Utf8, Windows1252, Utf16 };
    Encoding encoding = Utf8;
    char separator = ';';
};

// Reads a CSV member list as spreadsheet programs write it: ";" "," or tab
// as separator, quoted fields with separators, quotes and line breaks in
// them, UTF-8 with or without BOM, UTF-16 with BOM ("Unicode text"), else
// Windows-1252. Every field is text; row numbers count records, the header
// being row 1.
struct CsvRead
{
    MemberSheet sheet;
    CsvDialect dialect; // how the file was written
};
Result<CsvRead> readCsv(const QByteArray &bytes, const ProgressHook &progress = {});

} // namespace zor
