#include "entry/masters.h"

#include "core/cp1252.h"

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

// The character's byte in Windows-1252, -1 if it has none. Most are their
// own byte.
inline int byteOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    return cp1252::toByte(c);
}

// Whether the table covers every character of the text.
bool inTable(QStringView text)
{
    for (const QChar c : text) {
        if (byteOf(c) < 0)
            return false;
    }
    return true;
}

// The elements of the character at `pos`, or of it and the next one where
// ICU takes the two together, and moves `pos` past them; nothing for a
// character the table does not cover.
const CollationElements *elementsAt(QStringView text, qsizetype &pos)
{
    const int b = byteOf(text[pos]);
    if (b < 0)
        return nullptr;
    ++pos;
    const ByteCollation &c = kByteCollation[b];
    if (c.pair && pos < text.size()) {
        const int after = byteOf(text[pos]);
        for (int p = c.pair - 1; p < int(std::size(kPairCollation)) && kPairCollation[p].first == b;
             ++p) {
            if (kPairCollation[p].second == after) {
                ++pos;
                return &kPairCollation[p].elements;
            }
        }
    }
    return &c.elements;
}

// Walks the collation elements of a text the table covers and hands out the
// weights of one level, skipping those the level ignores; 1 after the last.
// 1 is below every weight, so a text that runs out first sorts first.
template<bool secondary>
class LevelWeights
{
public:
    explicit LevelWeights(QStringView text)
        : m_text(text)
    { }

    int next()
    {
        for (;;) {
            while (m_element < m_elements->count) {
                const int w = secondary ? m_elements->secondary[m_element]
                                        : m_elements->primary[m_element];
                ++m_element;
                if (w)
                    return w;
            }
            if (m_pos >= m_text.size())
                return 1;
            m_elements = elementsAt(m_text, m_pos);
            Q_ASSERT(m_elements);
            m_element = 0;
        }
    }

private:
    static constexpr CollationElements kNone{0, {}, {}};

    QStringView m_text;
    qsizetype m_pos = 0;
    const CollationElements *m_elements = &kNone;
    int m_element = 0;
};

// The German collator's answer at secondary strength (letters first, then
// accents, never case) for two texts the table covers: all primary weights
// first, then all secondary ones, both from the front.
template<bool secondary>
int compareLevel(QStringView a, QStringView b)
{
    LevelWeights<secondary> wa(a), wb(b);
    for (;;) {
        const int x = wa.next();
        const int y = wb.next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 1)
            return 0;
    }
}

int compareInTable(QStringView a, QStringView b)
{
    // QCollator puts an empty text before any other, even one that ICU finds
    // equal to it (control characters only).
    if (a.isEmpty() || b.isEmpty())
        return int(!a.isEmpty()) - int(!b.isEmpty());
    // What both begin with weighs the same in both: compare from the first
    // difference, as ICU does, but not from within two characters that the
    // table may take together.
    qsizetype same = 0;
    const qsizetype shorter = std::min(a.size(), b.size());
    while (same < shorter && a[same] == b[same])
        ++same;
    while (same > 0 && kByteCollation[byteOf(a[same - 1])].pair)
        --same;
    a = a.mid(same);
    b = b.mid(same);
    const int primary = compareLevel<false>(a, b);
    return primary ? primary : compareLevel<true>(a, b);
}

// A key that, compared as unsigned bytes, orders as compareInTable: 0x01
// (none for the empty text), the primary weights, 0x01, the secondary ones.
// Nothing for a text the table does not cover.
std::optional<QByteArray> keyInTable(QStringView text)
{
    QByteArray key;
    if (text.isEmpty())
        return key;
    key.reserve(2 + kMostElements * text.size());
    key.append('\x01');
    QVarLengthArray<char, 64> secondaries;
    for (qsizetype pos = 0; pos < text.size();) {
        const CollationElements *e = elementsAt(text, pos);
        if (!e)
            return std::nullopt;
        for (int k = 0; k < e->count; ++k) {
            if (e->primary[k])
                key.append(char(e->primary[k]));
            if (e->secondary[k])
                secondaries.append(char(e->secondary[k]));
        }
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
    if (inTable(a) && inTable(b))
        return compareInTable(a, b) < 0;
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
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<QByteArray> keys;
    keys.reserve(entries.size());
    for (const QString &e : entries) {
        std::optional<QByteArray> key = keyInTable(e);
        if (!key)
            break;
        keys.push_back(std::move(*key));
    }
    if (keys.size() == size_t(entries.size())) {
        std::stable_sort(order.begin(), order.end(),
                         [&keys](int a, int b) { return keys[a] < keys[b]; });
    } else {
        // A text the table does not cover: the collator sorts them all.
        // Its sort keys put an empty text level with one of control
        // characters only, where comparing puts it first; keep to comparing.
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
