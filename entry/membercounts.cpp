#include "entry/membercounts.h"

#include "core/intconv.h"

namespace zor {

MemberSums computeSums(const CountCells &cells)
{
    MemberSums s;
    for (int g = 0; g < AgeGroupCount; ++g) {
        const qint32 m = toInt32(cells[g][Men]);
        const qint32 w = toInt32(cells[g][Women]);
        s.counts[g] = {m, w};
        s.groups[g] = qint64(m) + w;
        s.men += m;
        s.women += w;
    }
    s.all = s.men + s.women;
    return s;
}

std::optional<MemberSums> sumsOf(const CountCells &cells)
{
    for (const auto &row : cells) {
        for (const QString &cell : row) {
            if (!parseInt32(cell))
                return std::nullopt;
        }
    }
    return computeSums(cells);
}

QStringList sumTexts(const MemberSums &sums)
{
    const auto shown = [](qint64 v) { return QString::number(v); };
    QStringList out;
    for (const qint64 v : sums.groups)
        out << shown(v);
    out << shown(sums.men) << shown(sums.women) << shown(sums.all);
    return out;
}

GridCell cellAfterEnter(GridCell from)
{
    if (from.col < GridLastCol)
        return {from.row, from.col + 1};
    return {from.row < GridLastRow ? from.row + 1 : 1, 1};
}

bool isCountKey(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == 8 || u == 13;
}

} // namespace zor
