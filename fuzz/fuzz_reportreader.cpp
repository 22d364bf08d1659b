// Any bytes at all, read as a report file: the reader must return, never
// crash or hang, and hand back a report of the fixed shape.

#include "reportfile/reportreader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const zor::ReportAsRead r = zor::readReport(bytes);
    for (const auto &row : r.report.counts) {
        for (const QString &cell : row) {
            // A count cell always holds a whole number the grid can sum.
            if (cell.isEmpty())
                std::abort();
        }
    }
    for (const QString &m : r.report.masters) {
        if (m.isEmpty())
            std::abort();
    }
    return 0;
}
