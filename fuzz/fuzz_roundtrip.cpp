// Read -> write -> read: whatever a file held, once the program has read it
// and written it out again, reading that file gives back the same report and
// writing it once more gives the same bytes.

#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const zor::ReportAsRead first = zor::readReport(bytes);
    const zor::Result<QByteArray> written = zor::encodeReport(first.report);
    if (!written)
        return 0; // a value the file cannot hold: the save refuses it, nothing to compare
    const zor::ReportAsRead second = zor::readReport(*written);
    if (second.report != first.report || !second.unreadableLines.isEmpty())
        std::abort();
    const zor::Result<QByteArray> again = zor::encodeReport(second.report);
    if (!again || *again != *written)
        std::abort();
    return 0;
}
