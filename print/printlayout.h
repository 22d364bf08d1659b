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
    QString family;       // "Arial" or "Courier New"
    qreal pointSize = 10; // whole points, unless the printout is drawn smaller to fit
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

// How the printout meets the printable area. The first sheet's fixed block
// (the left column down to the totals, beside the masters column) needs a
// page of a certain size; on a smaller printable area the whole printout is
// laid out on a page of that size and drawn smaller, by `scale`, so nothing
// runs off the paper or into the next column. On ordinary paper it stays as
// designed.
struct PageFit
{
    double scale = 1.0;
    int width = 0; // the page the layout is made for, in printer pixels before scaling
    int height = 0;
    // Less than half the size the block needs: drawn as designed, since
    // smaller it could not be read either; the printout then lacks texts.
    bool tooSmall = false;
};

PageFit fitPage(int pageWidth, int pageHeight, int dpiY);

struct PrintLayout
{
    QString year;
    QList<PrintPage> pages;
    PageFit fit;
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
