// The entry rules without a window: sums, Enter's path, the grid's key set,
// masters entry texts and their order, and the two field checks.

#include "core/cp1252.h"
#include "core/intconv.h"
#include "entry/fieldchecks.h"
#include "entry/masters.h"
#include "entry/membercounts.h"

#include <QCollator>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(zor::CountCells)

namespace {

zor::CountCells zeros()
{
    zor::CountCells c;
    for (auto &row : c)
        row = {QStringLiteral("0"), QStringLiteral("0")};
    return c;
}

// The collator the masters list followed before it had a table of its own.
QCollator germanCollator()
{
    QCollator c(QLocale(QLocale::German, QLocale::Germany));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(false);
    c.setIgnorePunctuation(false);
    return c;
}

QStringList everyCodePageCharacter()
{
    QStringList out;
    for (int b = 0; b < 256; ++b)
        out << QString(zor::cp1252::toUnicode(uchar(b)));
    return out;
}

// The empty text, and every two-character text of letters with and without accents, \u00df and ss,
// ligatures, fractions, digits, punctuation, the separator, blanks and
// characters ICU ignores; and three-character texts around \u00df, "l\u00b7" (which
// ICU takes together) and accents.
QStringList shortTexts()
{
    const QString two = QString::fromUtf8("aA\u00e4\u00c4\u00e1\u00e6\u00c6eo\u00f6\u0153s\u00dfzl"
                                          "\u00b7\u00bd\u2122"
                                          "1\u00b2-; \u00a0'\u00ad\x01\u20ac\u017e\u0178");
    const QString three = QString::fromUtf8("as\u00dfL\u00b7\u00e4 ");
    // The collator puts the empty text before one it ignores whole, so it
    // comes last here.
    QStringList out{QStringLiteral("\x01"), QString::fromUtf8("\u00ad"), QString()};
    for (const QChar a : two) {
        for (const QChar b : two)
            out << QString(a) + b;
    }
    for (const QChar a : three) {
        for (const QChar b : three) {
            for (const QChar c : three)
                out << QString(a) + b + c;
        }
    }
    return out;
}

// Entries as a club's list holds them: names of German and other European
// syllables in any case, now and then a blank, hyphen or apostrophe, a rare
// character of the code page, and entries that differ from an earlier one in
// case only.
QStringList entryLikeTexts(int count, quint32 seed)
{
    static const char *const syllables[] = {
            "M\u00fcl", "mul",     "Mue",     "ler",    "Stra",      "\u00dfe", "sse",
            "Sch",      "\u00e4",  "\u00c4r", "ae",     "mel",       "Bau",     "er",
            "\u00d6z",  "t\u00fc", "rk",      "oe",     "Z",         "orn",     "zan",
            "der",      "Fran",    "\u00e7",  "ois",    "Jos\u00e9", "\u00c9",  "lo",
            "di",       "Dl",      "\u00e6",  "\u00c6", "\u0152",    "\u0153",  "l\u00b7l",
            "\u00d8",   "\u00e5",  "s",       "\u0160", "\u017d",    "\u00ff",  "\u00f1"};
    static const char *const extras[] = {" ",      "-",      "'",      ".",      "\u00a0",
                                         "\u00ad", "\u2019", "\u00bd", "\u2122", "\u00a9",
                                         "\u20ac", "\x01",   "\u00b4", "\u00a8", "\u2013"};
    QRandomGenerator rng(seed);
    auto name = [&rng] {
        QString n;
        const int parts = 1 + int(rng.bounded(4));
        for (int i = 0; i < parts; ++i) {
            n += QString::fromUtf8(syllables[rng.bounded(int(std::size(syllables)))]);
            if (rng.bounded(8) == 0)
                n += QString::fromUtf8(extras[rng.bounded(int(std::size(extras)))]);
        }
        switch (rng.bounded(4)) {
        case 0:
            return n.toLower();
        case 1:
            return n.toUpper();
        default:
            return n;
        }
    };
    QStringList out;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && rng.bounded(10) == 0) {
            out << out.at(int(rng.bounded(i))).toUpper();
            continue;
        }
        out << zor::buildMasterEntry(name(), name(), QString::number(1 + rng.bounded(10)));
    }
    return out;
}

// Texts a report cannot hold, among ones it can: the collator sorts them.
QStringList textsOutsideTheCodePage()
{
    QStringList out = entryLikeTexts(150, 11);
    out << QString::fromUtf8("\u0141ukasz;Anna;2") << QString::fromUtf8("Lukasz;Anna;2")
        << QString::fromUtf8("\u0130nce;Ay\u015fe;4") << QString::fromUtf8("Ince;Ayse;4")
        << QString::fromUtf8("\u0110oki\u0107;Ivan;1") << QString::fromUtf8("Dokic;Ivan;1")
        << QString::fromUtf8("\u041f\u0435\u0442\u0440\u043e\u0432;\u0418\u0432\u0430\u043d;3")
        << QString::fromUtf8("\u0393\u03b9\u03ac\u03bd\u03bd\u03b7\u03c2;A;5")
        << QString::fromUtf8("Mu\u0308ller;Hans;1") << QString::fromUtf8("M\u00fcller;Hans;1")
        << QString::fromUtf8("\u5c71\u7530;\u592a\u90ce;2")
        << QString::fromUtf8("Emoji\U0001f600;x;1") << QString::fromUtf8("\u0080;x;1")
        << QString::fromUtf8("\u1e9e;x;1") << QString::fromUtf8("ss;x;1") << QStringLiteral("\x01")
        << QString();
    return out;
}

QString codePoints(const QString &s)
{
    QStringList out;
    for (const QChar c : s)
        out << QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return QLatin1Char('[') + out.join(QLatin1Char(' ')) + QLatin1Char(']');
}

// Resident kilobytes of the mappings of the library, -1 if it is not mapped.
qint64 residentKb(const QByteArray &library)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    qint64 kb = -1;
    bool inLibrary = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        const bool field = colon > 0 && !line.left(colon).contains(' ')
                           && !line.left(colon).contains('-');
        if (!field) {
            inLibrary = line.contains(library);
            if (inLibrary && kb < 0)
                kb = 0;
        } else if (inLibrary && line.startsWith("Rss:")) {
            kb += line.mid(4).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return kb;
}

} // namespace

class TstEntryRules : public QObject
{
    Q_OBJECT

private slots:
    // First: the later ones open ICU's collator on purpose.
    void reportTextsAreSortedWithoutOpeningIcu();
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
    void orderIsTheCollatorsOrder_data();
    void orderIsTheCollatorsOrder();
    void email_data();
    void email();
    void clubNumber_data();
    void clubNumber();
};

void TstEntryRules::reportTextsAreSortedWithoutOpeningIcu()
{
    const qint64 before = residentKb("libicudata");
    if (before < 0)
        QSKIP("Qt does not use ICU here");
    // Opening the collator brings about half a megabyte of its data in.
    QVERIFY2(before < 256, "ICU's data was in use before; this test must run first");
    const zor::MastersOrder order;
    const QStringList entries = entryLikeTexts(200, 7);
    const QStringList sorted = order.sorted(entries);
    QVERIFY(order.insertPosition(sorted, QString::fromUtf8("M\u00fcller;J\u00fcrgen;3")) >= 0);
    QVERIFY(order.lessThan(QStringLiteral("A;b;1"), QStringLiteral("B;a;1")));
    const qint64 after = residentKb("libicudata");
    QVERIFY2(after - before < 64,
             qPrintable(QStringLiteral("%1 kB -> %2 kB").arg(before).arg(after)));
}

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
    // Beyond the range of one count the sums stay exact, never wrapped round.
    for (auto &group : c)
        group = {QStringLiteral("2147483647"), QStringLiteral("2147483647")};
    QStringList exact(7, QStringLiteral("4294967294"));
    exact << QStringLiteral("15032385529") << QStringLiteral("15032385529")
          << QStringLiteral("30064771058");
    QTest::newRow("every count at the largest value") << c << exact;
    for (auto &group : c)
        group = {QStringLiteral("-2147483648"), QStringLiteral("-2147483648")};
    exact = QStringList(7, QStringLiteral("-4294967296"));
    exact << QStringLiteral("-15032385536") << QStringLiteral("-15032385536")
          << QStringLiteral("-30064771072");
    QTest::newRow("every count at the negative limit") << c << exact;
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

void TstEntryRules::orderIsTheCollatorsOrder_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("everyPair");
    QTest::newRow("every character of the code page") << everyCodePageCharacter() << true;
    QTest::newRow("two and three characters") << shortTexts() << true;
    QTest::newRow("20000 entries") << entryLikeTexts(20000, 2024) << false;
    QTest::newRow("texts outside the code page") << textsOutsideTheCodePage() << true;
}

void TstEntryRules::orderIsTheCollatorsOrder()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, everyPair);
    const QCollator collator = germanCollator();
    const zor::MastersOrder order;
    auto disagreement = [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        if (order.lessThan(a, b) == (c < 0) && order.lessThan(b, a) == (c > 0))
            return QString();
        return QStringLiteral("%1 %2: collator %3").arg(codePoints(a), codePoints(b)).arg(c);
    };
    if (everyPair) {
        int wrong = 0;
        QString first;
        for (const QString &a : texts) {
            for (const QString &b : texts) {
                const QString d = disagreement(a, b);
                if (!d.isEmpty() && wrong++ == 0)
                    first = d;
            }
        }
        QVERIFY2(wrong == 0,
                 qPrintable(QStringLiteral("%1 pairs, first %2").arg(wrong).arg(first)));
    }
    QStringList expected = texts;
    const auto before = [&collator](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    };
    std::stable_sort(expected.begin(), expected.end(), before);
    // Neighbours in the collator's order: both orders being total, agreeing
    // on every neighbour is agreeing on every pair.
    for (int i = 1; i < expected.size(); ++i) {
        const QString d = disagreement(expected.at(i - 1), expected.at(i));
        QVERIFY2(d.isEmpty(), qPrintable(d));
    }
    QCOMPARE(order.sorted(texts), expected);
    const int step = std::max(1, int(texts.size()) / 300);
    for (int i = 0; i < texts.size(); i += step) {
        const QString &t = texts.at(i);
        const auto after = std::upper_bound(expected.cbegin(), expected.cend(), t, before);
        QCOMPARE(order.insertPosition(expected, t), int(after - expected.cbegin()));
    }
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
