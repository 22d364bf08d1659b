#include "entry/masters.h"

#include "core/intconv.h"

#include <QLocale>

#include <algorithm>
#include <numeric>
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

MastersOrder::MastersOrder()
    : m_collator(QLocale(QLocale::German, QLocale::Germany))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_collator.setIgnorePunctuation(false);
}

bool MastersOrder::lessThan(const QString &a, const QString &b) const
{
    return m_collator.compare(a, b) < 0;
}

int MastersOrder::insertPosition(const QStringList &sorted, const QString &entry) const
{
    return insertPosition(
            int(sorted.size()), [&sorted](int i) { return sorted.at(i); }, entry);
}

int MastersOrder::insertPosition(int count, const std::function<QString(int)> &at,
                                 const QString &entry) const
{
    // The first position whose entry sorts after the new one.
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (lessThan(entry, at(mid)))
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
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const QString &e : entries)
        keys.push_back(m_collator.sortKey(e));
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    QStringList out;
    out.reserve(entries.size());
    for (int i : order)
        out.append(entries.at(i));
    return out;
}

} // namespace zor
