#include "entry/zahlengrid.h"

#include <QHeaderView>

ZahlenGrid::ZahlenGrid(QWidget *parent)
    : QTableWidget(8, 3, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    static const int heights[8] = {24, 24, 25, 24, 24, 24, 24, 24};
    for (int c = 0; c < 3; ++c)
        setColumnWidth(c, 100);
    for (int r = 0; r < 8; ++r) {
        setRowHeight(r, heights[r]);
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(QStringLiteral("0"));
            if (r == 0 || c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().button());
            }
            setItem(r, c, item);
        }
    }
    setTabKeyNavigation(true);
}

QString ZahlenGrid::cellText(int row, int col) const
{
    const QTableWidgetItem *it = item(row, col);
    return it ? it->text() : QString();
}

void ZahlenGrid::setCellText(int row, int col, const QString &text)
{
    if (QTableWidgetItem *it = item(row, col))
        it->setText(text);
}
