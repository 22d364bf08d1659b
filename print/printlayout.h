#pragma once

#include "reportfile/report.h"

#include <QDate>
#include <QList>
#include <QString>

namespace zor {

// One text of the printout: the font to draw it in and the top-left corner of
// the text in printer pixels.
struct PrintText
{
    QString family; // "Arial" or "Courier New"
    int pointSize = 10;
    int x = 0;
    int y = 0; // top of the text: line number times the line height
    QString text;

    bool operator==(const PrintText &o) const
    {
        return family == o.family && pointSize == o.pointSize && x == o.x && y == o.y
               && text == o.text;
    }
};

using PrintPage = QList<PrintText>;

// The figures the layout derives from the page and the date.
struct PrintMetrics
{
    int lineHeight = 0;    // lh
    int linesPerSheet = 0; // N
    int xLeft = 0;         // xl
    int xMasters = 0;      // xm
    int xName = 0;         // the masters' name column
    int xGrade = 0;        // the masters' grade column
};

struct PrintLayout
{
    QString year;
    QList<PrintPage> pages;
};

// Multiplies, then divides with rounding to nearest (halves away from zero);
// -1 when the divisor is 0 or the result does not fit, as the printer
// arithmetic the layout was designed for does.
int mulDiv(int number, int numerator, int denominator);

PrintMetrics printMetrics(int pageWidth, int pageHeight, int dpiY);

// Lays out the whole printout of `report` on pages of pageWidth x pageHeight
// printer pixels at dpiY. Throws ConversionError for a member count that is
// not a whole number, before anything has been drawn.
PrintLayout layoutReport(int pageWidth, int pageHeight, int dpiY, const QDate &today,
                         const Report &report);

} // namespace zor
