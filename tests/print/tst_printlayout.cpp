// The printout's layout: lines, positions, fonts and sheet breaks, computed
// without any printer.

#include "core/intconv.h"
#include "print/printlayout.h"
#include "tests/support/samplereport.h"

#include <QtTest>

using zor::PrintLayout;
using zor::PrintText;

using zortest::sampleReport;

namespace {

const QDate Winter(2002, 1, 15);

// An A4 page's printable area at 600 dpi as a typical laser printer reports it.
constexpr int W600 = 4960, H600 = 6600;

// The texts of a page that stand at x on line `line`.
QList<PrintText> at(const zor::PrintPage &page, int lh, int line, int x)
{
    QList<PrintText> out;
    for (const PrintText &t : page)
        if (t.y == line * lh && t.x == x)
            out << t;
    return out;
}

QString textAt(const zor::PrintPage &page, int lh, int line, int x)
{
    const auto found = at(page, lh, line, x);
    return found.size() == 1 ? found.first().text : QStringLiteral("<%1 texts>").arg(found.size());
}

QStringList textsContaining(const PrintLayout &l, const QString &part)
{
    QStringList out;
    for (const auto &page : l.pages)
        for (const PrintText &t : page)
            if (t.text.contains(part))
                out << t.text;
    return out;
}

} // namespace

class TstPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void mulDivRoundsToNearest();
    void metricsAndFirstSheet_data();
    void metricsAndFirstSheet();
    void reportYearTurnsInJune_data();
    void reportYearTurnsInJune();
    void memberTableComputesItsOwnTotals();
    void countThatIsNoNumberStopsTheLayout();
    void mastersColumnPlacesNumberNameAndGrade();
    void masterNamesArePaddedOrCutTo43();
    void masterEntriesSplitFromTheRight();
    void emptyMastersListPrintsOnlyHeadings();
    void mastersExactlyFillingSheetsNeedNoBreak();
    void oneMoreMasterStartsTheNextSheet();
    void tinySheetsStillHoldOneMasterEach();
    void fieldTextsAreNeverFormats();
    void smallPrintableAreaKeepsEverythingOnThePaper_data();
    void smallPrintableAreaKeepsEverythingOnThePaper();
};

void TstPrintLayout::mulDivRoundsToNearest()
{
    QCOMPARE(zor::mulDiv(10, 600, 72), 83);
    QCOMPARE(zor::mulDiv(10, 300, 72), 42);
    QCOMPARE(zor::mulDiv(3, 3, 2), 5); // 4.5 rounds away from zero
    QCOMPARE(zor::mulDiv(-3, 3, 2), -5);
    QCOMPARE(zor::mulDiv(7, 1, 2), 4);
    QCOMPARE(zor::mulDiv(5, 1, 4), 1);
    QCOMPARE(zor::mulDiv(10, 600, 0), -1);
    QCOMPARE(zor::mulDiv(2000000000, 2000000000, 1), -1);
    QCOMPARE(zor::mulDiv(2000000000, 2000000000, 2000000000), 2000000000); // 64-bit product
}

void TstPrintLayout::metricsAndFirstSheet_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("lh");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("xl");
    QTest::addColumn<int>("xm");
    QTest::addColumn<int>("xName");
    QTest::addColumn<int>("xGrade");
    QTest::newRow("A4 600 dpi") << W600 << H600 << 600 << 116 << 52 << 496 << 2728 << 2926 << 4662;
    QTest::newRow("A4 300 dpi") << 2480 << 3300 << 300 << 58 << 52 << 248 << 1364 << 1463 << 2331;
    QTest::newRow("72 dpi") << 595 << 842 << 72 << 14 << 56 << 59 << 327 << 350 << 559;
    // A device reporting no resolution must not divide by zero.
    QTest::newRow("no resolution") << 100 << 50 << 0 << 1 << 46 << 10 << 55 << 59 << 94;
}

void TstPrintLayout::metricsAndFirstSheet()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, dpi);
    const zor::PrintMetrics m = zor::printMetrics(w, h, dpi);
    QTEST(m.lineHeight, "lh");
    QTEST(m.linesPerSheet, "n");
    QTEST(m.xLeft, "xl");
    QTEST(m.xMasters, "xm");
    QTEST(m.xName, "xName");
    QTEST(m.xGrade, "xGrade");

    // The first sheet's left column on that page.
    const PrintLayout l = zor::layoutReport(w, h, dpi, Winter, sampleReport());
    QCOMPARE(l.pages.size(), 1);
    const zor::PrintPage &p = l.pages[0];

    const struct
    {
        int line;
        const char *family;
        int size;
        QString text;
    } expected[] = {
            {1, "Arial", 20, QStringLiteral("Quorvane zum 01.01.2002   V-Nr: 4711")},
            {9, "Arial", 7,
             QStringLiteral("Judo-Club Beispielhausen e.V. - Mustermann - Hauptstraße 1 - 12345 "
                            "Beispielhausen")},
            {11, "Arial", 10, QStringLiteral("An den Kelvarbund e.V")},
            {21, "Arial", 10, QStringLiteral("Verein und Vorsitzender:")},
            {23, "Arial", 10, QStringLiteral("ZOR-Vereinsnummer:    4711")},
            {25, "Arial", 10, QStringLiteral("Erika Mustermann")},
            {27, "Arial", 10, QStringLiteral("12345 Beispielhausen")},
            {28, "Arial", 10, QStringLiteral("Tel: 01234 567890   Fax: -")},
            {29, "Arial", 10, QStringLiteral("E-Mail: info@judo-beispielhausen.de")},
            {35, "Arial", 10, QStringLiteral("12347 Parkstadt")},
            {36, "Arial", 10, QStringLiteral("Webseite: www.judo-beispielhausen.de")},
            {38, "Arial", 10, QStringLiteral("Mitglieder: ")},
            {40, "Courier New", 10, QStringLiteral("Altersgruppe    Männer Frauen Alle")},
            {42, "Courier New", 10, QStringLiteral("  0 -  6 Jahre     1     3      4")},
            {43, "Courier New", 10, QStringLiteral("  7 - 14 Jahre    12     9     21")},
            {46, "Courier New", 10, QStringLiteral(" 27 - 40 Jahre   130    20    150")},
            {48, "Courier New", 10, QStringLiteral(" über 60 Jahre     2     1      3")},
            {50, "Courier New", 10, QStringLiteral("Alle             156    39    195")},
    };
    int leftColumn = 0;
    for (const PrintText &t : p)
        leftColumn += t.x == m.xLeft;
    QCOMPARE(leftColumn, 26); // lines 1, 9, 11, 21, 23-29, 31, 33-36, 38, 40, 42-48, 50
    for (const auto &e : expected) {
        const auto found = at(p, m.lineHeight, e.line, m.xLeft);
        QVERIFY2(found.size() == 1, qPrintable(QStringLiteral("line %1").arg(e.line)));
        QCOMPARE(found[0].text, e.text);
        QCOMPARE(found[0].family, QString::fromLatin1(e.family));
        QCOMPARE(found[0].pointSize, e.size);
    }
}

void TstPrintLayout::reportYearTurnsInJune_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("year");
    QTest::newRow("1 January") << QDate(2002, 1, 1) << "2002";
    QTest::newRow("31 May") << QDate(2002, 5, 31) << "2002";
    QTest::newRow("1 June") << QDate(2002, 6, 1) << "2003";
    QTest::newRow("15 June") << QDate(2002, 6, 15) << "2003";
    QTest::newRow("31 December") << QDate(2002, 12, 31) << "2003";
}

void TstPrintLayout::reportYearTurnsInJune()
{
    QFETCH(QDate, date);
    QFETCH(QString, year);
    const PrintLayout l = zor::layoutReport(W600, H600, 600, date, sampleReport());
    QCOMPARE(l.year, year);
    QCOMPARE(textAt(l.pages[0], 116, 1, 496),
             QStringLiteral("Quorvane zum 01.01.%1   V-Nr: 4711").arg(year));
}

void TstPrintLayout::memberTableComputesItsOwnTotals()
{
    zor::Report r = zor::Report::fresh();
    r.counts[0] = {QStringLiteral("2147483647"), QStringLiteral("2147483647")};
    r.counts[1] = {QStringLiteral("-3"), QStringLiteral("007")};
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    // Two of the largest counts add up without wrapping round.
    QCOMPARE(textAt(l.pages[0], 116, 42, 496),
             QStringLiteral("  0 -  6 Jahre 2147483647 2147483647  4294967294"));
    QCOMPARE(textAt(l.pages[0], 116, 43, 496), QStringLiteral("  7 - 14 Jahre    -3     7      4"));
    QCOMPARE(textAt(l.pages[0], 116, 50, 496),
             QStringLiteral("Alle           2147483644 2147483654  4294967298"));

    // All counts 0: every row and the totals are still printed.
    const PrintLayout empty = zor::layoutReport(W600, H600, 600, Winter, zor::Report::fresh());
    for (int line = 42; line <= 48; ++line)
        QVERIFY(textAt(empty.pages[0], 116, line, 496)
                        .endsWith(QStringLiteral("    0     0      0")));
    QCOMPARE(textAt(empty.pages[0], 116, 50, 496),
             QStringLiteral("Alle               0     0      0"));
}

void TstPrintLayout::countThatIsNoNumberStopsTheLayout()
{
    const QString bad[] = {QStringLiteral("12a"), QString(), QStringLiteral(" 5"),
                           QStringLiteral("2147483648")};
    for (const QString &cell : bad) {
        zor::Report r = sampleReport();
        r.counts[6][zor::Women] = cell;
        try {
            zor::layoutReport(W600, H600, 600, Winter, r);
            QFAIL(qPrintable(QStringLiteral("no error for '%1'").arg(cell)));
        } catch (const zor::ConversionError &e) {
            QCOMPARE(e.text(), cell);
        }
    }
}

void TstPrintLayout::mastersColumnPlacesNumberNameAndGrade()
{
    zor::Report r = sampleReport();
    r.masters = QStringList{QStringLiteral("A;B;3"), QStringLiteral("Muster;Max;10")};
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    const zor::PrintPage &p = l.pages[0];
    QCOMPARE(textAt(p, 116, 25, 2728), QStringLiteral(" 1"));
    QCOMPARE(textAt(p, 116, 25, 2926), QStringLiteral("A , B").leftJustified(43));
    QCOMPARE(textAt(p, 116, 25, 4662), QStringLiteral("3"));
    QCOMPARE(textAt(p, 116, 26, 2728), QStringLiteral(" 2"));
    QCOMPARE(textAt(p, 116, 26, 4662), QStringLiteral("10"));
    QCOMPARE(at(p, 116, 26, 2926)[0].family, QStringLiteral("Arial"));
    QCOMPARE(at(p, 116, 26, 2926)[0].pointSize, 10);
}

void TstPrintLayout::masterNamesArePaddedOrCutTo43()
{
    zor::Report r = zor::Report::fresh();
    const QString surname = QString(38, QLatin1Char('S')); // with " , " and "Vor": 44
    r.masters = QStringList{surname + QStringLiteral(";Vor;1"), QStringLiteral("Kurz;K;2")};
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    const QString cut = textAt(l.pages[0], 116, 25, 2926);
    QCOMPARE(cut.size(), 43);
    QCOMPARE(cut, surname + QStringLiteral(" , Vo"));
    const QString padded = textAt(l.pages[0], 116, 26, 2926);
    QCOMPARE(padded, QStringLiteral("Kurz , K") + QString(35, QLatin1Char(' ')));
}

void TstPrintLayout::masterEntriesSplitFromTheRight()
{
    zor::Report r = zor::Report::fresh();
    r.masters = QStringList{QStringLiteral("Mc;Neil;Jo;2"), QStringLiteral("Ohne"),
                            QStringLiteral(";;")};
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    QCOMPARE(textAt(l.pages[0], 116, 25, 2926), QStringLiteral("Mc;Neil , Jo").leftJustified(43));
    QCOMPARE(textAt(l.pages[0], 116, 25, 4662), QStringLiteral("2"));
    // A part without ";" stays whole wherever it is looked for.
    QCOMPARE(textAt(l.pages[0], 116, 26, 2926), QStringLiteral("Ohne , Ohne").leftJustified(43));
    QCOMPARE(textAt(l.pages[0], 116, 26, 4662), QStringLiteral("Ohne"));
    QCOMPARE(textAt(l.pages[0], 116, 27, 2926), QStringLiteral(" , ").leftJustified(43));
    QCOMPARE(textAt(l.pages[0], 116, 27, 4662), QString());
}

void TstPrintLayout::emptyMastersListPrintsOnlyHeadings()
{
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, sampleReport(0));
    QCOMPARE(l.pages.size(), 1);
    int mastersColumn = 0;
    for (const PrintText &t : l.pages[0])
        mastersColumn += t.x >= 2728;
    QCOMPARE(mastersColumn, 2);
    QCOMPARE(textAt(l.pages[0], 116, 21, 2728), QStringLiteral("Meister:"));
    QCOMPARE(textAt(l.pages[0], 116, 23, 2728), QStringLiteral("Nr.  Name, Vorname   Dangrad"));
}

void TstPrintLayout::mastersExactlyFillingSheetsNeedNoBreak()
{
    // N = 52: lines 25..50 on sheet 1 (26 items), 4..50 on each further one (47).
    zor::Report r = sampleReport(26);
    PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    QCOMPARE(l.pages.size(), 1);
    QCOMPARE(textAt(l.pages[0], 116, 50, 2728), QStringLiteral("26"));
    QVERIFY(textsContaining(l, QStringLiteral("weitere")).isEmpty());

    r = sampleReport(26 + 47);
    l = zor::layoutReport(W600, H600, 600, Winter, r);
    QCOMPARE(l.pages.size(), 2);
    QCOMPARE(textAt(l.pages[1], 116, 50, 2728), QStringLiteral("73"));
    QCOMPARE(textsContaining(l, QStringLiteral("weitere")).size(), 1);
}

void TstPrintLayout::oneMoreMasterStartsTheNextSheet()
{
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, sampleReport(26 + 47 + 1));
    QCOMPARE(l.pages.size(), 3);

    QCOMPARE(textAt(l.pages[0], 116, 51, 2728), QStringLiteral("weitere siehe Blatt  2 "));
    QCOMPARE(at(l.pages[0], 116, 51, 2728)[0].family, QStringLiteral("Arial"));
    QCOMPARE(textAt(l.pages[1], 116, 2, 2728), QStringLiteral("ZOR-Quorvane Blatt  2 "));
    QCOMPARE(textAt(l.pages[1], 116, 4, 2728), QStringLiteral("27"));
    QCOMPARE(textAt(l.pages[1], 116, 4, 2926),
             QStringLiteral("Müller000027 , Jürgen").leftJustified(43));
    QCOMPARE(textAt(l.pages[1], 116, 51, 2728), QStringLiteral("weitere siehe Blatt  3 "));
    QCOMPARE(textAt(l.pages[2], 116, 2, 2728), QStringLiteral("ZOR-Quorvane Blatt  3 "));
    QCOMPARE(textAt(l.pages[2], 116, 4, 2728), QStringLiteral("74"));

    // Continuation sheets carry only their heading and masters, in the masters column.
    for (int p = 1; p < l.pages.size(); ++p)
        for (const PrintText &t : l.pages[p]) {
            QVERIFY(t.x >= 2728);
            QCOMPARE(t.family, QStringLiteral("Arial"));
            QCOMPARE(t.pointSize, 10);
        }
    // The member table stays whole on sheet 1.
    QCOMPARE(textsContaining(l, QStringLiteral("Alle    ")).size(), 1);
}

void TstPrintLayout::tinySheetsStillHoldOneMasterEach()
{
    zor::Report r = zor::Report::fresh();
    r.masters = sampleReport(3).masters;
    // H = 700 at 600 dpi: N = 2, far above the first master line.
    for (int h : {700, 10}) {
        const PrintLayout l = zor::layoutReport(W600, h, 600, Winter, r);
        QCOMPARE(l.pages.size(), 3);
        QCOMPARE(textAt(l.pages[0], 116, 25, 2728), QStringLiteral(" 1"));
        QCOMPARE(textAt(l.pages[0], 116, 26, 2728), QStringLiteral("weitere siehe Blatt  2 "));
        QCOMPARE(textAt(l.pages[1], 116, 4, 2728), QStringLiteral(" 2"));
        QCOMPARE(textAt(l.pages[1], 116, 5, 2728), QStringLiteral("weitere siehe Blatt  3 "));
        QCOMPARE(textAt(l.pages[2], 116, 4, 2728), QStringLiteral(" 3"));
        QCOMPARE(l.pages[2].size(), 4); // heading, number, name, grade
        // The left column of sheet 1 is never split.
        QCOMPARE(textAt(l.pages[0], 116, 50, 496),
                 QStringLiteral("Alle               0     0      0"));
    }
}

void TstPrintLayout::fieldTextsAreNeverFormats()
{
    zor::Report r = sampleReport();
    r.text(zor::Field::Nummer) = QStringLiteral("%1");
    r.text(zor::Field::Vereinsname) = QStringLiteral("%s%n %5i %%");
    r.masters = QStringList{QStringLiteral("%1;%2;%3")};
    const PrintLayout l = zor::layoutReport(W600, H600, 600, Winter, r);
    QCOMPARE(textAt(l.pages[0], 116, 1, 496), QStringLiteral("Quorvane zum 01.01.2002   V-Nr: %1"));
    QCOMPARE(textAt(l.pages[0], 116, 24, 496), QStringLiteral("%s%n %5i %%"));
    QCOMPARE(textAt(l.pages[0], 116, 25, 2926), QStringLiteral("%1 , %2").leftJustified(43));
    QCOMPARE(textAt(l.pages[0], 116, 25, 4662), QStringLiteral("%3"));
}

void TstPrintLayout::smallPrintableAreaKeepsEverythingOnThePaper_data()
{
    // Printable areas in pixels at their resolution; "scaled" when the first
    // sheet needs more room than the area has.
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("scaled");
    QTest::newRow("A4 whole sheet") << 4960 << 7016 << 600 << false;
    QTest::newRow("A4 laser printer") << W600 << H600 << 600 << false;
    QTest::newRow("Letter, quarter and half inch") << 2400 << 3000 << 300 << false;
    QTest::newRow("Letter, one inch at the sides") << 1950 << 3000 << 300 << false;
    QTest::newRow("A4, margins of 100 and 150 pt") << 1645 << 2258 << 300 << true;
    QTest::newRow("A4, one inch all round") << 3758 << 5816 << 600 << true;
    QTest::newRow("A6 whole sheet") << 1240 << 1748 << 300 << true;
    QTest::newRow("narrow and tall") << 1500 << 3500 << 300 << true;
}

void TstPrintLayout::smallPrintableAreaKeepsEverythingOnThePaper()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, dpi);
    QFETCH(bool, scaled);
    const zor::Report report = sampleReport(120);
    const PrintLayout l = zor::layoutReport(w, h, dpi, Winter, report);

    // A text's height and a fixed-pitch text's width, in pixels, from its size.
    const auto em = [dpi](const PrintText &t) { return t.pointSize * dpi / 72.0; };
    int masterNumbers = 0;
    for (int p = 0; p < l.pages.size(); ++p) {
        const zor::PrintPage &page = l.pages[p];
        int mastersX = w;
        for (const PrintText &t : page)
            if (t.x > w / 2)
                mastersX = qMin(mastersX, t.x);
        bool totals = false;
        for (const PrintText &t : page) {
            const QString where = QStringLiteral("sheet %1: '%2' at %3,%4 in %5 pt")
                                          .arg(p + 1)
                                          .arg(t.text)
                                          .arg(t.x)
                                          .arg(t.y)
                                          .arg(t.pointSize);
            QVERIFY2(t.x >= 0 && t.y >= 0 && t.y + 1.2 * em(t) <= h, qPrintable(where));
            if (t.family == QLatin1String("Courier New")) {
                // The member table ends before the masters column begins.
                const double right = t.x + t.text.trimmed().size() * 0.6 * em(t);
                QVERIFY2(right < mastersX, qPrintable(where));
            }
            totals = totals || t.text.startsWith(QLatin1String("Alle "));
            masterNumbers += t.x == mastersX && t.text.trimmed().toInt() > 0;
        }
        QCOMPARE(totals, p == 0);
    }
    QCOMPARE(masterNumbers, 120);
    // Ordinary paper keeps the layout as designed.
    QCOMPARE(l.fit.scale < 1.0, scaled);
    QVERIFY(!l.fit.tooSmall);

    // The same texts as on a page of the size the block needs, every one
    // drawn smaller by the same factor.
    const PrintLayout full = zor::layoutReport(l.fit.width, l.fit.height, dpi, Winter, report);
    QCOMPARE(full.fit.scale, 1.0);
    QCOMPARE(full.pages.size(), l.pages.size());
    for (int p = 0; p < l.pages.size(); ++p) {
        QCOMPARE(full.pages[p].size(), l.pages[p].size());
        for (int i = 0; i < l.pages[p].size(); ++i) {
            QCOMPARE(l.pages[p][i].text, full.pages[p][i].text);
            QVERIFY(qAbs(l.pages[p][i].pointSize - full.pages[p][i].pointSize * l.fit.scale)
                    < 1e-9);
        }
    }

    // Less than half the room the block needs is not made unreadably small;
    // the layout says it does not fit.
    const PrintLayout tiny = zor::layoutReport(w / 3, h / 3, dpi, Winter, report);
    QVERIFY(tiny.fit.tooSmall);
    QCOMPARE(tiny.fit.scale, 1.0);
}

QTEST_APPLESS_MAIN(TstPrintLayout)
#include "tst_printlayout.moc"
