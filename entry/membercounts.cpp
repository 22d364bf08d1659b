#include "entry/membercounts.h"

#include "core/intconv.h"

namespace zor {

MemberSums computeSums(const CountCells &cells)
{
    MemberSums s;
    for (int g = 0; g < AgeGroupCount; ++g) {
        const qint32 m = toInt32(cells[g][Men]);
        const qint32 w = toInt32(cells[g][Women]);
        // The association's figures never come near the limit; wrap rather
        // than invoke undefined behaviour on a freak input.
        s.groups[g] = static_cast<qint32>(static_cast<quint32>(m) + static_cast<quint32>(w));
        s.men = static_cast<qint32>(static_cast<quint32>(s.men) + static_cast<quint32>(m));
        s.women = static_cast<qint32>(static_cast<quint32>(s.women) + static_cast<quint32>(w));
    }
    s.all = static_cast<qint32>(static_cast<quint32>(s.men) + static_cast<quint32>(s.women));
    return s;
}

QStringList sumTexts(const MemberSums &sums)
{
    QStringList out;
    for (qint32 v : sums.groups)
        out << QString::number(v);
    out << QString::number(sums.men) << QString::number(sums.women) << QString::number(sums.all);
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
