#pragma once

#include "reportfile/report.h"

#include <QChar>

#include <array>
#include <optional>

namespace zor {

// The member counts read as numbers, and the ten figures shown beside and
// under the grid. The sums are exact: fourteen 32-bit counts cannot overflow
// 64 bits.
struct MemberSums
{
    std::array<std::array<qint32, 2>, AgeGroupCount> counts{}; // [age group][Men/Women]
    std::array<qint64, AgeGroupCount> groups{};                // men + women of each age group
    qint64 men = 0;
    qint64 women = 0;
    qint64 all = 0;
};

// Reads every count cell strictly as a 32-bit whole number and adds them up.
// Throws ConversionError for the first cell (row by row, men before women)
// that is not one; nothing is returned then, so the caller's labels stay as
// they were.
MemberSums computeSums(const CountCells &cells);
// The same without the error: empty when a cell is no such number.
std::optional<MemberSums> sumsOf(const CountCells &cells);

// The sums as the window's labels show them: the seven groups, men, women,
// all, exact: a sum beyond the range of one count is shown as it is, never
// wrapped round into a figure that looks like a count.
QStringList sumTexts(const MemberSums &sums);

// A grid position: row 0 and column 0 hold the headings.
struct GridCell
{
    int row = 1;
    int col = 1;
};

constexpr int GridLastRow = AgeGroupCount; // 7
constexpr int GridLastCol = 2;

inline bool isCountCell(int row, int col)
{
    return row >= 1 && row <= GridLastRow && col >= 1 && col <= GridLastCol;
}

// Where Enter goes from a cell: men -> women of the same row -> men of the
// next row; from the last row back to the first.
GridCell cellAfterEnter(GridCell from);

// Whether the grid takes a typed character: digits, Backspace (8), Enter (13).
bool isCountKey(QChar c);

} // namespace zor
