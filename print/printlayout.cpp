#include "print/printlayout.h"

#include "core/texts.h"
#include "entry/masters.h"
#include "entry/membercounts.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace zor {

namespace {

const QString Arial = QStringLiteral("Arial");
const QString Courier = QStringLiteral("Courier New");

constexpr int NameWidth = 43;
constexpr int FirstMasterLine = 25;
constexpr int FirstContinuationLine = 4;

// The first sheet's fixed block: lines 0 to 50 high, and the member table
// (34 characters of the fixed-pitch face, 0.6 em each, and one more as a gap)
// wide between the left column and the masters column, which stand 45 % of
// the width apart.
constexpr int BlockLines = 51;
constexpr double TableEms = 35 * 0.6;
constexpr double ColumnGap = 0.45;
constexpr double MinScale = 0.5;

int fontPixels(int dpiY)
{
    return std::abs(mulDiv(10, dpiY, 72));
}

// Texts are built piece by piece: what the club typed is inserted as it
// stands and never read as a format.
QString padLeft(qint64 value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char(' '));
}

class PageWriter
{
public:
    PageWriter(PrintLayout &layout, int lineHeight, double scale)
        : m_layout(layout)
        , m_lh(lineHeight)
        , m_scale(scale)
    {
        m_layout.pages.append(PrintPage());
    }

    void font(const QString &family, int pointSize)
    {
        m_family = family;
        m_size = pointSize;
    }

    void put(int line, int x, const QString &text)
    {
        const qint64 y = qint64(line) * m_lh;
        if (m_scale == 1.0) {
            m_layout.pages.last().append(PrintText{m_family, qreal(m_size), x, int(y), text});
            return;
        }
        m_layout.pages.last().append(PrintText{m_family, m_size * m_scale,
                                               int(std::floor(x * m_scale)),
                                               int(std::floor(double(y) * m_scale)), text});
    }

    void newPage() { m_layout.pages.append(PrintPage()); }

private:
    PrintLayout &m_layout;
    int m_lh;
    double m_scale;
    QString m_family = Arial;
    int m_size = 10;
};

} // namespace

int mulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const qint64 product = qint64(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const qint64 p = product < 0 ? -product : product;
    const qint64 d = denominator < 0 ? -qint64(denominator) : qint64(denominator);
    qint64 q = (p + d / 2) / d;
    if (negative)
        q = -q;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(q);
}

PrintMetrics printMetrics(int pageWidth, int pageHeight, int dpiY)
{
    PrintMetrics m;
    // A device that reports no resolution would otherwise give a line height
    // of 0 and a division by zero below.
    m.lineHeight = qMax(1, static_cast<int>(std::trunc(double(fontPixels(dpiY)) * 1.4)));
    m.linesPerSheet = pageHeight / m.lineHeight - 4;
    m.xLeft = pageWidth / 10;
    m.xMasters = static_cast<int>(std::trunc(double(pageWidth) * 5.5 * 0.1));
    m.xName = static_cast<int>(std::trunc(double(pageWidth) * 0.4 * 0.1 + m.xMasters));
    m.xGrade = static_cast<int>(std::trunc(double(pageWidth) * 3.9 * 0.1 + m.xMasters));
    return m;
}

PageFit fitPage(int pageWidth, int pageHeight, int dpiY)
{
    PageFit fit{1.0, pageWidth, pageHeight, false};
    if (fontPixels(dpiY) == 0 || pageWidth <= 0 || pageHeight <= 0)
        return fit;                                 // no sizes to measure the page by
    const double em = 10.0 * std::abs(dpiY) / 72.0; // the 10-point face, in pixels
    const double neededWidth = std::ceil(TableEms * em / ColumnGap);
    const double neededHeight = double(BlockLines)
                                * printMetrics(pageWidth, pageHeight, dpiY).lineHeight;
    const double scale = std::min(pageWidth / neededWidth, pageHeight / neededHeight);
    if (scale >= 1.0)
        return fit;
    if (scale < MinScale) {
        fit.tooSmall = true;
        return fit;
    }
    fit.scale = scale;
    fit.width = static_cast<int>(std::lround(pageWidth / scale));
    fit.height = static_cast<int>(std::lround(pageHeight / scale));
    return fit;
}

PrintLayout layoutReport(int pageWidth, int pageHeight, int dpiY, const QDate &today,
                         const Report &report)
{
    PrintLayout layout;
    layout.year = reportYear(today);
    layout.fit = fitPage(pageWidth, pageHeight, dpiY);
    const PrintMetrics m = printMetrics(layout.fit.width, layout.fit.height, dpiY);
    const auto t = [&report](Field f) -> const QString & { return report.text(f); };

    PageWriter w(layout, m.lineHeight, layout.fit.scale);
    const int xl = m.xLeft;

    w.font(Arial, 20);
    w.put(1, xl,
          QStringLiteral("Quorvane zum 01.01.") + layout.year + QStringLiteral("   V-Nr: ")
                  + t(Field::Nummer));
    w.font(Arial, 7);
    w.put(9, xl,
          t(Field::Vereinsname) + QStringLiteral(" - ") + t(Field::ANName) + QStringLiteral(" - ")
                  + t(Field::Strasse) + QStringLiteral(" - ") + t(Field::Plz) + QLatin1Char(' ')
                  + t(Field::Ort));
    w.font(Arial, 10);
    w.put(11, xl, QStringLiteral("An den Kelvarbund e.V"));
    w.put(21, xl, QStringLiteral("Verein und Vorsitzender:"));
    w.put(23, xl, QStringLiteral("ZOR-Vereinsnummer:    ") + t(Field::Nummer));
    w.put(24, xl, t(Field::Vereinsname));
    w.put(25, xl, t(Field::AVName) + QLatin1Char(' ') + t(Field::ANName));
    w.put(26, xl, t(Field::Strasse));
    w.put(27, xl, t(Field::Plz) + QLatin1Char(' ') + t(Field::Ort));
    w.put(28, xl,
          QStringLiteral("Tel: ") + t(Field::Tel) + QStringLiteral("   Fax: ") + t(Field::Fax));
    w.put(29, xl, QStringLiteral("E-Mail: ") + t(Field::Email));
    w.put(31, xl, QStringLiteral("Dojoadresse:"));
    w.put(33, xl, t(Field::DName));
    w.put(34, xl, t(Field::DStrasse));
    w.put(35, xl, t(Field::DPlz) + QLatin1Char(' ') + t(Field::DOrt));
    w.put(36, xl, QStringLiteral("Webseite: ") + t(Field::WebAdresse));
    w.put(38, xl, QStringLiteral("Mitglieder: "));

    w.font(Courier, 10);
    w.put(40, xl, QStringLiteral("Altersgruppe    M\u00e4nner Frauen Alle"));
    // The exact sums: two large counts do not wrap round into a wrong figure.
    const MemberSums sums = computeSums(report.counts);
    int line = 42;
    for (int r = 0; r < AgeGroupCount; ++r) {
        w.put(line++, xl,
              ageGroupLabel(r).rightJustified(14, QLatin1Char(' ')) + QLatin1Char(' ')
                      + padLeft(sums.counts[r][Men], 5) + QLatin1Char(' ')
                      + padLeft(sums.counts[r][Women], 5) + QStringLiteral("  ")
                      + padLeft(sums.groups[r], 5));
    }
    w.put(line + 1, xl,
          QStringLiteral("Alle           ") + padLeft(sums.men, 5) + QLatin1Char(' ')
                  + padLeft(sums.women, 5) + QStringLiteral("  ") + padLeft(sums.all, 5));

    w.font(Arial, 10);
    w.put(21, m.xMasters, QStringLiteral("Meister:"));
    w.put(23, m.xMasters, QStringLiteral("Nr.  Name, Vorname   Dangrad"));

    line = FirstMasterLine;
    int sheet = 1;
    const int count = report.masters.size();
    for (int i = 0; i < count; ++i) {
        const QString &entry = report.masters[i];
        // Split from the right, as the masters list does: a surname with ";" in it stays whole.
        const MasterParts parts = splitMasterEntry(entry);
        const QString &grade = parts.grade;
        const QString name = (parts.surname + QStringLiteral(" , ") + parts.firstName)
                                     .leftJustified(NameWidth, QLatin1Char(' '), true);
        w.put(line, m.xMasters, padLeft(i + 1, 2));
        w.put(line, m.xName, name);
        w.put(line, m.xGrade, grade);
        ++line;
        // Checked after every item, so every sheet that is started holds one.
        if (line > m.linesPerSheet - 2 && i + 1 < count) {
            w.put(line, m.xMasters,
                  QStringLiteral("weitere siehe Blatt ") + padLeft(sheet + 1, 2)
                          + QLatin1Char(' '));
            w.newPage();
            ++sheet;
            w.put(2, m.xMasters,
                  programName() + QStringLiteral(" Blatt ") + padLeft(sheet, 2) + QLatin1Char(' '));
            line = FirstContinuationLine;
        }
    }
    return layout;
}

} // namespace zor
