#pragma once

#include "reportfile/report.h"

#include <QChar>

#include <array>

namespace zor {

// The ten figures shown under the member-count grid.
struct MemberSums
{
    std::array<qint32, AgeGroupCount> groups{}; // men + women of each age group
    qint32 men = 0;
    qint32 women = 0;
    qint32 all = 0;
};

// Reads every count cell strictly as a 32-bit whole number and adds them up.
// Throws ConversionError for the first cell that is not one; nothing is
// returned then, so the caller's labels stay as they were.
MemberSums computeSums(const CountCells &cells);

// The sums as the labels show them: the seven groups, men, women, all.
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
