// Any bytes at all, read as an .xlsx (and as an .ods) member list: the
// readers must return, never crash or hang, and keep their limits.

#include "import/membercount.h"
#include "import/zipsheets.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(const zor::Result<zor::MemberBook> &read)
{
    if (!read)
        return;
    const zor::MemberBook *book = &*read;
    for (const zor::MemberSheet &sheet : book->sheets) {
        int last = 0;
        for (const zor::ListRow &row : sheet.rows) {
            if (row.number <= last || row.number > zor::MaxListRows || row.cells.isEmpty()
                || row.cells.size() > zor::MaxListColumns)
                std::abort();
            last = row.number;
        }
        for (const int column : sheet.hiddenColumns) {
            if (column < 0 || column >= zor::MaxListColumns)
                std::abort();
        }
        const zor::CountResult r = zor::countMembers(
                sheet, zor::recognizeLayout(sheet, QDate(2027, 1, 1)),
                zor::CountRules{QDate(2027, 1, 1), QDate(2026, 12, 9), zor::OtherSex::NotCounted});
        if (r.counted + r.notCounted.size() != r.members)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    check(zor::readXlsx(bytes));
    check(zor::readOds(bytes));
    return 0;
}
