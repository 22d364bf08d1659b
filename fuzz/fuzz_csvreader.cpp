// Any bytes at all, read as a CSV member list: the reader must return, never
// crash or hang, keep its limits, and what it returns must count.

#include "import/csvreader.h"
#include "import/membercount.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const zor::Result<zor::CsvRead> read = zor::readCsv(bytes);
    if (!read)
        return 0;
    const zor::MemberSheet *sheet = &read->sheet;
    int last = 0;
    for (const zor::ListRow &row : sheet->rows) {
        // Rows come in file order, none empty, none wider than the limit.
        if (row.number <= last || row.cells.isEmpty() || row.cells.size() > zor::MaxListColumns)
            std::abort();
        last = row.number;
    }
    if (!sheet->rows.isEmpty()) {
        const zor::CountResult r = zor::countMembers(
                *sheet, zor::recognizeLayout(*sheet, QDate(2027, 1, 1)),
                zor::CountRules{QDate(2027, 1, 1), QDate(2026, 12, 9), zor::OtherSex::AsMen});
        // Every member is counted or listed; a doubt is only about a counted one.
        if (r.counted + r.notCounted.size() != r.members || r.toCheck.size() > r.counted)
            std::abort();
    }
    return 0;
}
