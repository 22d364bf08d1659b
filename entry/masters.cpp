#include "entry/masters.h"

#include "reportfile/cp1252.h"

#include <QCollator>
#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <optional>
#include <vector>

namespace zor {

QString buildMasterEntry(const QString &surname, const QString &firstName, const QString &grade)
{
    return surname + QLatin1Char(';') + firstName + QLatin1Char(';') + grade;
}

namespace {

QString beforeLastSemicolon(const QString &s)
{
    const int i = s.lastIndexOf(QLatin1Char(';'));
    return i < 0 ? s : s.left(i);
}

QString afterLastSemicolon(const QString &s)
{
    const int i = s.lastIndexOf(QLatin1Char(';'));
    return i < 0 ? s : s.mid(i + 1);
}

} // namespace

MasterParts splitMasterEntry(const QString &entry)
{
    MasterParts p;
    p.grade = afterLastSemicolon(entry);
    const QString names = beforeLastSemicolon(entry);
    p.surname = beforeLastSemicolon(names);
    p.firstName = afterLastSemicolon(names);
    return p;
}

namespace {

#include "entry/masterscollation.inc"

// The order's key of a text: compared as unsigned bytes, two keys give the
// answer of the German collator at secondary strength (letters first, then
// accents; case never), or nothing for a text with a character outside
// Windows-1252.
//
// A key is 0x01, the primary weights of the text's collation elements, 0x01,
// their secondary weights. Weights are 2 or more, so a text whose primaries
// are the start of another's sorts first, and so at the secondary level.
// QCollator puts an empty text before any other, even one that ICU would
// find equal to it (only control characters): the empty text's key is empty.
std::optional<QByteArray> tableKey(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    QVarLengthArray<uchar, 128> bytes(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1252::toByte(text[i]);
        if (b < 0)
            return std::nullopt;
        bytes[i] = uchar(b);
    }
    QByteArray key;
    key.reserve(2 + 2 * kMostElements * bytes.size());
    QVarLengthArray<char, 128> secondaries;
    key.append('\x01');
    auto take = [&key, &secondaries](const CollationElements &e) {
        for (int k = 0; k < e.count; ++k) {
            if (e.primary[k])
                key.append(char(e.primary[k]));
            if (e.secondary[k])
                secondaries.append(char(e.secondary[k]));
        }
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const ByteCollation &c = kByteCollation[bytes[i]];
        bool paired = false;
        if (c.pair && i + 1 < bytes.size()) {
            for (int p = c.pair - 1;
                 p < int(std::size(kPairCollation)) && kPairCollation[p].first == bytes[i]; ++p) {
                if (kPairCollation[p].second == bytes[i + 1]) {
                    take(kPairCollation[p].elements);
                    paired = true;
                    ++i;
                    break;
                }
            }
        }
        if (!paired)
            take(c.elements);
    }
    key.append('\x01');
    key.append(secondaries.constData(), secondaries.size());
    return key;
}

} // namespace

MastersOrder::MastersOrder() = default;

MastersOrder::~MastersOrder() = default;

const QCollator &MastersOrder::collator() const
{
    if (!m_collator) {
        auto c = std::make_unique<QCollator>(QLocale(QLocale::German, QLocale::Germany));
        c->setCaseSensitivity(Qt::CaseInsensitive);
        c->setNumericMode(false);
        c->setIgnorePunctuation(false);
        m_collator = std::move(c);
    }
    return *m_collator;
}

bool MastersOrder::lessThan(const QString &a, const QString &b) const
{
    const std::optional<QByteArray> ka = tableKey(a);
    if (ka) {
        const std::optional<QByteArray> kb = tableKey(b);
        if (kb)
            return *ka < *kb;
    }
    return collator().compare(a, b) < 0;
}

int MastersOrder::insertPosition(const QStringList &sorted, const QString &entry) const
{
    return insertPosition(
            int(sorted.size()), [&sorted](int i) { return sorted.at(i); }, entry);
}

int MastersOrder::insertPosition(int count, const std::function<QString(int)> &at,
                                 const QString &entry) const
{
    const std::optional<QByteArray> entryKey = tableKey(entry);
    // The first position whose entry sorts after the new one.
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const QString there = at(mid);
        std::optional<QByteArray> thereKey;
        if (entryKey)
            thereKey = tableKey(there);
        const bool before = thereKey ? *entryKey < *thereKey : collator().compare(entry, there) < 0;
        if (before)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

QStringList MastersOrder::sorted(const QStringList &entries) const
{
    // Keys once per entry, not once per comparison: a club file may hold
    // thousands of masters.
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<QByteArray> keys;
    keys.reserve(entries.size());
    for (const QString &e : entries) {
        std::optional<QByteArray> k = tableKey(e);
        if (!k)
            break;
        keys.push_back(std::move(*k));
    }
    if (keys.size() == size_t(entries.size())) {
        std::stable_sort(order.begin(), order.end(),
                         [&keys](int a, int b) { return keys[a] < keys[b]; });
    } else {
        // A text the table does not cover: the collator sorts them all.
        // Its sort keys put an empty text level with one of only control
        // characters, where comparing puts it first; keep to comparing.
        const QCollator &c = collator();
        std::vector<QCollatorSortKey> sortKeys;
        sortKeys.reserve(entries.size());
        for (const QString &e : entries)
            sortKeys.push_back(c.sortKey(e));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            if (entries.at(a).isEmpty() || entries.at(b).isEmpty())
                return entries.at(a).isEmpty() && !entries.at(b).isEmpty();
            return sortKeys[a].compare(sortKeys[b]) < 0;
        });
    }
    QStringList out;
    out.reserve(entries.size());
    for (int i : order)
        out.append(entries.at(i));
    return out;
}

} // namespace zor
