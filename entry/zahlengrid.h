#pragma once

#include <QTableWidget>

// The member-count grid: 3 columns by 8 rows; row 0 and column 0 are fixed
// headings, the 14 other cells hold the counts as text.
class ZahlenGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit ZahlenGrid(QWidget *parent = nullptr);

    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString &text);
};
