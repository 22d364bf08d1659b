#pragma once

#include "reportfile/report.h"

#include <QByteArray>
#include <QList>

namespace zor {

struct ReportAsRead
{
    Report report;              // missing texts empty, unreadable counts "0"
    int lineCount = 0;          // lines the file holds (up to an end-of-file byte)
    QList<int> unreadableLines; // member lines (17..23) that did not hold three whole numbers

    // The file ended before its last member line.
    bool endedEarly() const { return lineCount < FieldCount + AgeGroupCount; }
};

// Reads a report file: CR bytes are dropped, LF ends a line, a byte 0x1A ends
// the file. Lines may be of any length. Counts come back as decimal text
// ("07" reads "7"); empty lines among the masters are skipped. Any bytes at
// all give a result.
ReportAsRead readReport(const QByteArray &bytes);

} // namespace zor
