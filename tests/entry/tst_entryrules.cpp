// The entry rules without a window: sums, Enter's path, the grid's key set,
// masters entry texts and their order, and the two field checks.

#include "core/intconv.h"
#include "entry/fieldchecks.h"
#include "entry/masters.h"
#include "entry/membercounts.h"

#include <QtTest>

Q_DECLARE_METATYPE(zor::CountCells)

namespace {

zor::CountCells zeros()
{
    zor::CountCells c;
    for (auto &row : c)
        row = {QStringLiteral("0"), QStringLiteral("0")};
    return c;
}

} // namespace

class TstEntryRules : public QObject
{
    Q_OBJECT

private slots:
    void sums_data();
    void sums();
    void sumsRefuseCellsThatAreNoNumber_data();
    void sumsRefuseCellsThatAreNoNumber();
    void enterWalksAllFourteenCellsAndWrapsAround();
    void splitFromTheRight_data();
    void splitFromTheRight();
    void orderIgnoresCaseAndSortsUmlautsTheGermanWay();
    void insertPositionGoesAfterEqualEntries();
    void bulkSortMatchesPairwiseOrder();
    void email_data();
    void email();
    void clubNumber_data();
    void clubNumber();
};

void TstEntryRules::sums_data()
{
    QTest::addColumn<zor::CountCells>("cells");
    QTest::addColumn<QStringList>("expected"); // Sum1..Sum7, MSum, WSum, AllSum

    QTest::newRow("all zero") << zeros()
                              << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
    auto c = zeros();
    c[3] = {QStringLiteral("3"), QStringLiteral("4")};
    QTest::newRow("19-26: 3 and 4")
            << c << QStringList{"0", "0", "0", "7", "0", "0", "0", "3", "4", "7"};
    c = zeros();
    c[0] = {QStringLiteral("0012"), QStringLiteral("007")};
    c[6] = {QStringLiteral("1"), QStringLiteral("0")};
    QTest::newRow("leading zeros")
            << c << QStringList{"19", "0", "0", "0", "0", "0", "1", "13", "7", "20"};
    c = zeros();
    for (int g = 0; g < 7; ++g)
        c[g] = {QString::number(g + 1), QString::number(10 * (g + 1))};
    QTest::newRow("every row") << c << QStringList{"11", "22", "33", "44",  "55",
                                                   "66", "77", "28", "280", "308"};
    c = zeros();
    c[1] = {QStringLiteral("-5"), QStringLiteral("2")};
    QTest::newRow("negative shown with minus")
            << c << QStringList{"0", "-3", "0", "0", "0", "0", "0", "-5", "2", "-3"};
    c = zeros();
    c[2] = {QStringLiteral("2147483647"), QStringLiteral("0")};
    QTest::newRow("largest value") << c << QStringList{"0", "0", "2147483647", "0", "0",
                                                       "0", "0", "2147483647", "0", "2147483647"};
}

void TstEntryRules::sums()
{
    QFETCH(zor::CountCells, cells);
    QFETCH(QStringList, expected);
    QCOMPARE(zor::sumTexts(zor::computeSums(cells)), expected);
}

void TstEntryRules::sumsRefuseCellsThatAreNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("beyond 32 bit") << QStringLiteral("99999999999");
    QTest::newRow("2^31") << QStringLiteral("2147483648");
    QTest::newRow("blank before") << QStringLiteral(" 5");
    QTest::newRow("blank after") << QStringLiteral("5 ");
    QTest::newRow("decimal point") << QStringLiteral("1.5");
    QTest::newRow("letter") << QStringLiteral("1a");
}

void TstEntryRules::sumsRefuseCellsThatAreNoNumber()
{
    QFETCH(QString, text);
    auto c = zeros();
    c[5][zor::Women] = text;
    try {
        zor::computeSums(c);
        QFAIL("no conversion error");
    } catch (const zor::ConversionError &e) {
        QCOMPARE(e.message(),
                 QString::fromUtf8("'%1' ist kein g\u00fcltiger Integerwert").arg(text));
    }
}

void TstEntryRules::enterWalksAllFourteenCellsAndWrapsAround()
{
    zor::GridCell at{1, 1};
    QList<QPair<int, int>> path;
    for (int i = 0; i < 15; ++i) {
        path.append({at.row, at.col});
        at = zor::cellAfterEnter(at);
    }
    QList<QPair<int, int>> expected;
    for (int r = 1; r <= 7; ++r)
        expected << qMakePair(r, 1) << qMakePair(r, 2);
    expected << qMakePair(1, 1);
    QCOMPARE(path, expected);
}

void TstEntryRules::splitFromTheRight_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("grade");
    QTest::newRow("plain") << "Abc;De;4"
                           << "Abc"
                           << "De"
                           << "4";
    QTest::newRow("grade 10") << "M\u00fcller;J\u00fcrgen;10"
                              << "M\u00fcller"
                              << "J\u00fcrgen"
                              << "10";
    QTest::newRow("semicolon in surname stays") << "A;b;C;3"
                                                << "A;b"
                                                << "C"
                                                << "3";
    QTest::newRow("no semicolon: all three whole") << "Abc"
                                                   << "Abc"
                                                   << "Abc"
                                                   << "Abc";
    QTest::newRow("one semicolon") << "Abc;4"
                                   << "Abc"
                                   << "Abc"
                                   << "4";
    QTest::newRow("empty parts") << ";;"
                                 << ""
                                 << ""
                                 << "";
}

void TstEntryRules::splitFromTheRight()
{
    QFETCH(QString, entry);
    const zor::MasterParts p = zor::splitMasterEntry(entry);
    QTEST(p.surname, "surname");
    QTEST(p.firstName, "firstName");
    QTEST(p.grade, "grade");
}

void TstEntryRules::orderIgnoresCaseAndSortsUmlautsTheGermanWay()
{
    const zor::MastersOrder order;
    QVERIFY(order.lessThan(QStringLiteral("A;y;2"), QStringLiteral("b;x;1")));
    QVERIFY(!order.lessThan(QStringLiteral("b;x;1"), QStringLiteral("A;y;2")));
    QVERIFY(order.lessThan(QStringLiteral("abc;x;1"), QStringLiteral("ABD;x;1")));
    // Umlauts sort with their base letter, not after "z".
    QVERIFY(order.lessThan(QString::fromUtf8("\u00c4rmel;x;1"), QStringLiteral("Bauer;x;1")));
    QVERIFY(order.lessThan(QString::fromUtf8("M\u00fcller;x;1"), QStringLiteral("Mz;x;1")));
    QVERIFY(order.lessThan(QStringLiteral("Mu;x;1"), QString::fromUtf8("M\u00fcller;x;1")));
    QVERIFY(order.lessThan(QString::fromUtf8("Stra\u00dfer;x;1"), QStringLiteral("Strausz;x;1")));
    // Surname first: the separator ranks before letters.
    QVERIFY(order.lessThan(QStringLiteral("Ab;Zora;1"), QStringLiteral("Abc;Anna;1")));
}

void TstEntryRules::insertPositionGoesAfterEqualEntries()
{
    const zor::MastersOrder order;
    const QStringList list{"A;y;2", "abc;d;1", "Abc;d;1", "b;x;1"};
    QCOMPARE(order.insertPosition(list, QStringLiteral("ABC;D;1")), 3);
    QCOMPARE(order.insertPosition(list, QStringLiteral("0;a;1")), 0);
    QCOMPARE(order.insertPosition(list, QStringLiteral("z;a;1")), 4);
    QCOMPARE(order.insertPosition({}, QStringLiteral("z;a;1")), 0);
}

void TstEntryRules::bulkSortMatchesPairwiseOrder()
{
    const zor::MastersOrder order;
    QStringList in{"b;x;1",    "A;y;2",    "\u00d6z;a;3", "oz;a;3",
                   "Abc;De;4", "abc;de;4", "Zed;a;1",     "A;y;2"};
    const QStringList out = order.sorted(in);
    QCOMPARE(out.size(), in.size());
    for (int i = 1; i < out.size(); ++i)
        QVERIFY2(!order.lessThan(out.at(i), out.at(i - 1)), qPrintable(out.join(QLatin1Char('|'))));
    // Equal entries keep the order they came in.
    QCOMPARE(out.indexOf(QStringLiteral("Abc;De;4")) + 1, out.indexOf(QStringLiteral("abc;de;4")));
    std::sort(in.begin(), in.end());
    QStringList sortedOut = out;
    std::sort(sortedOut.begin(), sortedOut.end());
    QCOMPARE(sortedOut, in); // nothing lost, nothing doubled
}

void TstEntryRules::email_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain .de") << "info@verein.de" << true;
    QTest::newRow(".com") << "a@b.com" << true;
    QTest::newRow(".info") << "a@b.info" << true;
    QTest::newRow(".at") << "a@b.at" << true;
    QTest::newRow("no @") << "info.verein.de" << false;
    QTest::newRow("capitals") << "INFO@VEREIN.DE" << false;
    QTest::newRow(".net with .de before @") << "max.de@example.net" << true;
    QTest::newRow(".net only") << "max@example.net" << false;
    QTest::newRow("ending not at the end") << "a@b.ch.xyz" << true;
    QTest::newRow("@ only") << "@" << false;
}

void TstEntryRules::email()
{
    QFETCH(QString, address);
    QFETCH(bool, accepted);
    QCOMPARE(zor::isAcceptableEmail(address), accepted);
}

void TstEntryRules::clubNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hint");
    QTest::newRow("0000") << "0000" << true;
    QTest::newRow("0135") << "0135" << false;
    QTest::newRow("1214") << "1214" << false;
    QTest::newRow("half filled") << "00  " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("three digits") << "000" << false;
}

void TstEntryRules::clubNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, hint);
    QCOMPARE(zor::clubNumberNeedsHint(text), hint);
}

QTEST_APPLESS_MAIN(TstEntryRules)
#include "tst_entryrules.moc"
