// The recovery copy read at start-up: whatever bytes lie in the folder (a
// copy cut short by a power cut, a damaged disk), reading never crashes, and
// a copy that reads is written and read back the same.

#include "reportfile/recoverycopy.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const zor::Result<zor::RecoveryCopy> copy = zor::decodeRecovery(bytes);
    if (!copy) {
        if (copy.reason().isEmpty())
            std::abort();
        return 0;
    }
    const zor::Result<zor::RecoveryCopy> again = zor::decodeRecovery(zor::encodeRecovery(*copy));
    if (!again || !(*again == *copy))
        std::abort();
    return 0;
}
