// The counting rules on their own: ages on the reference day, the age
// groups' edges, dates as clubs type them (two-digit years that fit both
// centuries among them), sexes, grades, the columns found by the words of
// their headings, the header found below a title, and what happens to
// members of other or unknown sex.

#include "import/membercount.h"

#include <QtTest>

using namespace zor;

namespace {

ListRow textRow(int number, const QStringList &texts)
{
    ListRow row;
    row.number = number;
    for (const QString &t : texts)
        row.cells << ListCell::fromText(t);
    return row;
}

// Geschlecht;Geburtsdatum, one member per pair.
MemberSheet sheetOf(const QList<QPair<QString, QString>> &members)
{
    MemberSheet s;
    s.rows << textRow(1, {QStringLiteral("Geschlecht"), QStringLiteral("Geburtsdatum")});
    int n = 2;
    for (const auto &m : members)
        s.rows << textRow(n++, {m.first, m.second});
    return s;
}

const QDate referenceDay(2027, 1, 1);
const QDate today(2026, 12, 9);

CountRules rules(OtherSex other = OtherSex::NotCounted)
{
    return CountRules{referenceDay, today, other};
}

ColumnChoice sexAndBirth()
{
    ColumnChoice c;
    c[ListColumn::Sex] = 0;
    c[ListColumn::BirthDate] = 1;
    return c;
}

} // namespace

class TstMemberCounting : public QObject
{
    Q_OBJECT

private slots:
    void completedYearsOnTheReferenceDay_data();
    void completedYearsOnTheReferenceDay();
    void ageGroupsEndWhereTheGridsRowsEnd();
    void referenceDayFollowsThePrintedTitlesYear();
    void birthDatesAsClubsWriteThem_data();
    void birthDatesAsClubsWriteThem();
    void sexesAndGrades();
    void columnsAreFoundByTheirHeaders();
    void headingsAreFoundByTheirWords_data();
    void headingsAreFoundByTheirWords();
    void theHeaderIsFoundBelowATitle_data();
    void theHeaderIsFoundBelowATitle();
    void otherSexIsCountedOnlyWhereTheUserSays();
    void implausibleDatesAreListedNotCounted();
    void mastersNeedBothNameColumns();
    void mastersReplaceOrJoinTheList();
};

void TstMemberCounting::completedYearsOnTheReferenceDay_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("years");
    QTest::newRow("birthday on the day") << QDate(2020, 1, 1) << QDate(2027, 1, 1) << 7;
    QTest::newRow("birthday the day after") << QDate(2020, 1, 2) << QDate(2027, 1, 1) << 6;
    QTest::newRow("birthday the day before") << QDate(2019, 12, 31) << QDate(2027, 1, 1) << 7;
    QTest::newRow("29 Feb, day is 28 Feb") << QDate(2008, 2, 29) << QDate(2027, 2, 28) << 18;
    QTest::newRow("29 Feb, day is 1 Mar") << QDate(2008, 2, 29) << QDate(2027, 3, 1) << 19;
    QTest::newRow("29 Feb, leap day") << QDate(2008, 2, 29) << QDate(2028, 2, 29) << 20;
    QTest::newRow("born on the day") << QDate(2027, 1, 1) << QDate(2027, 1, 1) << 0;
}

void TstMemberCounting::completedYearsOnTheReferenceDay()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, day);
    QFETCH(int, years);
    QCOMPARE(completedYears(birth, day), years);
}

void TstMemberCounting::ageGroupsEndWhereTheGridsRowsEnd()
{
    const QList<QPair<int, int>> edges = {{0, 0},  {6, 0},  {7, 1},  {14, 1}, {15, 2},
                                          {18, 2}, {19, 3}, {26, 3}, {27, 4}, {40, 4},
                                          {41, 5}, {60, 5}, {61, 6}, {120, 6}};
    for (const auto &[age, group] : edges)
        QVERIFY2(ageGroupOf(age) == group, qPrintable(QString::number(age)));
}

void TstMemberCounting::referenceDayFollowsThePrintedTitlesYear()
{
    QCOMPARE(referenceDayFor(QDate(2026, 5, 31)), QDate(2026, 1, 1));
    QCOMPARE(referenceDayFor(QDate(2026, 6, 1)), QDate(2027, 1, 1));
    QCOMPARE(referenceDayFor(QDate(2026, 12, 31)), QDate(2027, 1, 1));
}

void TstMemberCounting::birthDatesAsClubsWriteThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("otherCentury"); // a two-digit year that fits both
    const auto row = [](const char *name, const char *text, QDate date, QDate other = {}) {
        QTest::newRow(name) << QString::fromUtf8(text) << date << other;
    };
    row("dd.mm.yyyy", "07.05.1980", {1980, 5, 7});
    row("d.m.yyyy", "7.5.1980", {1980, 5, 7});
    row("blanks around", "  7.5.1980 ", {1980, 5, 7});
    row("yyyy-mm-dd", "1980-05-07", {1980, 5, 7});
    row("with a time", "1980-05-07 00:00:00", {1980, 5, 7});
    row("German with a time", "07.05.1980 00:00", {1980, 5, 7});
    // Two-digit years: the century that puts the date on or before 1.1.2027.
    row("yy this century", "3.4.15", {2015, 4, 3});
    row("yy on the reference day: 0 or 100", "1.1.27", {2027, 1, 1}, {1927, 1, 1});
    row("yy day after the reference day", "2.1.27", {1927, 1, 2});
    row("yy last century", "3.4.45", {1945, 4, 3});
    row("yy 29 Feb 00", "29.2.00", {2000, 2, 29});
    row("no such day", "31.02.2000", {});
    row("month 13", "01.13.2000", {});
    row("slashes are ambiguous", "05/07/1980", {});
    row("words", "unbekannt", {});
    row("three-digit year", "1.1.980", {});
    // Both centuries give an age from 0 to 105: counted as read, but told.
    row("yy 25: 1 or 101", "1.3.25", {2025, 3, 1}, {1925, 3, 1});
    row("yy 24, as LibreOffice writes it", "03.03.24", {2024, 3, 3}, {1924, 3, 3});
    row("yy 21: 5 or 105", "31.12.21", {2021, 12, 31}, {1921, 12, 31});
    row("yy 21: 5 or 106", "1.1.21", {2021, 1, 1});
    row("four digits are no guess", "1.3.1925", {1925, 3, 1});
}

void TstMemberCounting::birthDatesAsClubsWriteThem()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(QDate, otherCentury);
    const BirthDateReading read = readBirthDateWithDoubt(ListCell::fromText(text), referenceDay);
    QCOMPARE(read.date, date);
    QCOMPARE(read.otherCentury, otherCentury);
    QCOMPARE(readBirthDate(ListCell::fromText(text), referenceDay), date);
}

void TstMemberCounting::sexesAndGrades()
{
    const auto sex = [](const char *t) {
        return readSex(ListCell::fromText(QString::fromUtf8(t)));
    };
    for (const char *t :
         {"m", "M", "m\xc3\xa4nnlich", "M\xc3\xa4nnlich ", "Herr", "male", "Hr.", "m\xc3\xa4nnl.",
          "M\xc3\x84NNL", "m.", "Junge", "M\xc3\x84NNLICH", "Herr Dr."})
        QVERIFY2(sex(t) == ListSex::Male, t);
    for (const char *t : {"w", "W", "weiblich", "Frau", "female", "f", "Fr.", "F", "weibl.", "w.",
                          "M\xc3\xa4"
                          "dchen",
                          "WEIBLICH", "Weibl", "Frau Prof."})
        QVERIFY2(sex(t) == ListSex::Female, t);
    for (const char *t : {"divers", "d", "ohne Angabe", "x", "mw"})
        QVERIFY2(sex(t) == ListSex::Other, t);
    QVERIFY(sex("") == ListSex::Unknown);
    QVERIFY(sex("   ") == ListSex::Unknown);

    QCOMPARE(readGrade(ListCell::fromNumber(3)), 3);
    QCOMPARE(readGrade(ListCell::fromNumber(10)), 10);
    QCOMPARE(readGrade(ListCell::fromNumber(11)), 0);
    QCOMPARE(readGrade(ListCell::fromNumber(2.5)), 0);
    QCOMPARE(readGrade(ListCell::fromNumber(0)), 0);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("3. Dan"))), 3);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("3.Dan"))), 3);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("Dan 4"))), 4);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral(" 10 "))), 10);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("5. Kyu"))), 0);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("0"))), 0);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("100"))), 0);
    QCOMPARE(readGrade(ListCell::fromText(QStringLiteral("-3"))), 0);
    // A whole number written with a fraction: pandas writes "1.0", German programs "3,0".
    const std::pair<const char *, int> fractions[] = {{"1.0", 1},      {"10.0", 10}, {"3,0", 3},
                                                      {"2.00 Dan", 2}, {"2.5", 0},   {"1.05", 0},
                                                      {"11.0", 0}};
    for (const auto &[t, grade] : fractions)
        QVERIFY2(readGrade(ListCell::fromText(QString::fromUtf8(t))) == grade, t);
    QCOMPARE(readGrade(ListCell::fromNumber(1.0)), 1);
    QCOMPARE(readGrade(ListCell::fromFormula(QStringLiteral("=0+1"))), 0);
}

void TstMemberCounting::columnsAreFoundByTheirHeaders()
{
    ColumnChoice c = recognizeColumns(
            textRow(1, {QStringLiteral("Mitgl.-Nr."), QStringLiteral(" Name "),
                        QStringLiteral("VORNAME"), QStringLiteral("Geb.-Datum"),
                        QStringLiteral("Anrede"), QStringLiteral("Graduierung")}));
    QCOMPARE(c.index, (std::array<int, ListColumnCount>{3, 4, 1, 2, 5}));

    // "Nachname" is the better surname than "Name"; English headers.
    c = recognizeColumns(textRow(1, {QStringLiteral("Name"), QStringLiteral("Nachname"),
                                     QStringLiteral("First name"), QStringLiteral("Date of Birth"),
                                     QStringLiteral("Gender"), QStringLiteral("Grade")}));
    QCOMPARE(c.index, (std::array<int, ListColumnCount>{3, 4, 1, 2, 5}));

    c = recognizeColumns(textRow(1, {QStringLiteral("Geburtstag"), QStringLiteral("sex")}));
    QCOMPARE(c.index, (std::array<int, ListColumnCount>{0, 1, -1, -1, -1}));

    c = recognizeColumns(textRow(1, {QStringLiteral("Beitrag"), QStringLiteral("Ort")}));
    QCOMPARE(c.index, (std::array<int, ListColumnCount>{-1, -1, -1, -1, -1}));
}

void TstMemberCounting::headingsAreFoundByTheirWords_data()
{
    QTest::addColumn<QStringList>("headings");
    // Birth date, sex, surname, first name, grade.
    QTest::addColumn<QList<int>>("columns");
    const auto row = [](const char *name, const QStringList &h, const QList<int> &c) {
        QTest::newRow(name) << h << c;
    };
    row("notes in brackets",
        {"Nachname", "Vorname", "Geschlecht (m/w/d)", "Geburtsdatum (TT.MM.JJJJ)",
         "Graduierung (Dan)"},
        {3, 2, 0, 1, 4});
    row("hyphenated and split words", {"Dan-Grad", "Geschlecht m/w", "Geb. Datum", "Name"},
        {2, 1, 3, -1, 0});
    row("Anrede beside Geschlecht: Geschlecht is the better",
        {"Anrede", "Geschlecht", "Geburtstag"}, {2, 1, -1, -1, -1});
    row("the better heading wins, wherever it stands",
        {"Name", "Vorname", "Familienname", "Geboren", "Geburtsdatum"}, {4, -1, 2, 1, -1});
    row("parts of other headings are not taken",
        {"Geb.-Ort", "Name des Vereins", "Grad der Behinderung", "Eintrittsdatum"},
        {-1, -1, -1, -1, -1});
    row("upper case, extra blanks", {"  GEBURTSDATUM ", "GESCHLECHT", "VORNAME", "DAN"},
        {0, 1, -1, 2, 3});
}

void TstMemberCounting::headingsAreFoundByTheirWords()
{
    QFETCH(QStringList, headings);
    QFETCH(QList<int>, columns);
    const ColumnChoice c = recognizeColumns(textRow(1, headings));
    QCOMPARE((QList<int>(c.index.cbegin(), c.index.cend())), columns);
}

void TstMemberCounting::theHeaderIsFoundBelowATitle_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("header"); // index in the rows
    const QStringList heading = {"Nachname", "Vorname", "Geburtsdatum"};
    const QStringList member = {"M\u00fcller", "J\u00fcrgen", "15.03.1960"};
    QTest::newRow("header first") << QList<QStringList>{heading, member} << 0;
    QTest::newRow("title above") << QList<QStringList>{
            {"Mitgliederliste TSV Musterstadt, Stand 01.12.2026"},
            heading,
            member} << 1;
    QTest::newRow("title naming a column: the row with more wins")
            << QList<QStringList>{{"Geburtsdatum und Namen"}, {"Stand: Dezember"}, heading, member}
            << 2;
    QTest::newRow("no heading known: the first row")
            << QList<QStringList>{{"Liste"}, {"A", "B"}, {"x", "y"}} << 0;
}

void TstMemberCounting::theHeaderIsFoundBelowATitle()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, header);
    MemberSheet sheet;
    int n = 1;
    for (const QStringList &r : rows)
        sheet.rows << textRow(n++, r);
    const ColumnChoice layout = recognizeLayout(sheet, referenceDay);
    QCOMPARE(layout.header, header);
    // The rows above the header are no members.
    const CountResult r = countMembers(sheet, layout, rules());
    QCOMPARE(r.members, int(rows.size()) - header - 1);
}

void TstMemberCounting::otherSexIsCountedOnlyWhereTheUserSays()
{
    const MemberSheet sheet = sheetOf({{QStringLiteral("divers"), QStringLiteral("1.1.2000")},
                                       {QString(), QStringLiteral("1.1.1990")},
                                       {QStringLiteral("m"), QStringLiteral("1.1.1950")}});
    CountResult r = countMembers(sheet, sexAndBirth(), rules());
    QCOMPARE(r.counted, 1);
    QCOMPARE(r.otherSex.size(), 2);
    QCOMPARE(r.notCounted.size(), 2);
    QCOMPARE(r.counts[6][Men], 1);

    r = countMembers(sheet, sexAndBirth(), rules(OtherSex::AsMen));
    QCOMPARE(r.counted, 3);
    QCOMPARE(r.notCounted.size(), 0);
    QCOMPARE(r.otherSex.size(), 2); // still said
    QCOMPARE(r.counts[4][Men], 2);  // 27 and 37 years old
    QCOMPARE(r.counts[6][Men], 1);

    r = countMembers(sheet, sexAndBirth(), rules(OtherSex::AsWomen));
    QCOMPARE(r.counts[4][Women], 2);
    QCOMPARE(r.counts[6][Men], 1);

    // Without a sex column every member is of unknown sex.
    ColumnChoice noSex;
    noSex[ListColumn::BirthDate] = 1;
    r = countMembers(sheet, noSex, rules(OtherSex::AsWomen));
    QCOMPARE(r.counted, 3);
    QCOMPARE(r.otherSex.size(), 3);
}

void TstMemberCounting::implausibleDatesAreListedNotCounted()
{
    const MemberSheet sheet = sheetOf({{QStringLiteral("m"), QStringLiteral("1.1.1900")},
                                       {QStringLiteral("m"), QStringLiteral("2.1.1921")},
                                       {QStringLiteral("w"), QStringLiteral("2.1.2027")},
                                       {QStringLiteral("w"), QStringLiteral("1.1.2027")},
                                       {QStringLiteral("w"), QStringLiteral("gestern")},
                                       {QStringLiteral("w"), QString()},
                                       {QStringLiteral("m"), QStringLiteral("31.12.1920")},
                                       {QStringLiteral("m"), QStringLiteral("10.12.2026")},
                                       {QStringLiteral("w"), QStringLiteral("9.12.2026")},
                                       {QStringLiteral("w"), QStringLiteral("20.12.26")}});
    const CountResult r = countMembers(sheet, sexAndBirth(), rules());
    QCOMPARE(r.counted, 2); // 105 years old, and born today
    QCOMPARE(r.counts[6][Men], 1);
    QCOMPARE(r.counts[0][Women], 1);
    QList<int> rows;
    for (const RowNote &n : r.notCounted)
        rows << n.row;
    QCOMPARE(rows, (QList<int>{2, 4, 5, 6, 7, 8, 9, 11}));
    // After today, whether or not after the reference day: a typo, not a baby.
    const QStringList why = {"\u00fcber 105 Jahre",
                             "in der Zukunft",
                             "in der Zukunft",
                             "\u201egestern\u201c",
                             "Geburtsdatum fehlt",
                             "\u00fcber 105 Jahre",
                             "10.12.2026: Das Datum liegt in der Zukunft",
                             "20.12.2026: Das Datum liegt in der"};
    for (int i = 0; i < why.size(); ++i)
        QVERIFY2(r.notCounted[i].text.contains(why[i]), qPrintable(r.notCounted[i].text));
    QVERIFY(r.toCheck.isEmpty()); // a doubt is only told for a member who is counted

    // With a reference day before today, a birth between them is after the day.
    const CountResult past = countMembers(
            sheet, sexAndBirth(), CountRules{QDate(2026, 1, 1), today, OtherSex::NotCounted});
    QVERIFY(past.notCounted.last().text.contains(QStringLiteral("nach dem Stichtag 01.01.2026")));
}

void TstMemberCounting::mastersNeedBothNameColumns()
{
    MemberSheet s;
    s.rows << textRow(
            1, {QStringLiteral("Nachname"), QStringLiteral("Vorname"), QStringLiteral("Dan")});
    s.rows << textRow(2, {QStringLiteral(" Abc "), QStringLiteral("De"), QStringLiteral("2")});
    s.rows << textRow(3, {QStringLiteral("A;b"), QStringLiteral("C"), QStringLiteral("1")});
    s.rows << textRow(4, {QString(), QStringLiteral("C"), QStringLiteral("1")});
    s.rows << textRow(5, {QStringLiteral("X"), QStringLiteral("Y"), QString()});
    // A name the report cannot hold is not taken with letters missing; the
    // note names what cannot be stored.
    s.rows << textRow(
            6, {QStringLiteral("Nowak"), QStringLiteral("\u0141ukasz"), QStringLiteral("1")});
    ColumnChoice c = recognizeColumns(*s.header());
    CountResult r = countMembers(s, c, rules());
    QCOMPARE(r.masters, QStringList{QStringLiteral("Abc;De;2")});
    QCOMPARE(r.mastersNotTaken.size(),
             3); // the ";", the missing surname, the "Ł"; no grade is no note
    QCOMPARE(r.mastersNotTaken[0].row, 3);
    QCOMPARE(r.mastersNotTaken[1].row, 4);
    QCOMPARE(r.mastersNotTaken[2].row, 6);
    QVERIFY2(r.mastersNotTaken[2].text.contains(
                     QStringLiteral("\u0141ukasz Nowak\u201c: Das Zeichen \u201e\u0141\u201c kann "
                                    "im Bericht nicht gespeichert werden.")),
             qPrintable(r.mastersNotTaken[2].text));

    c[ListColumn::FirstName] = -1;
    r = countMembers(s, c, rules());
    QVERIFY(r.masters.isEmpty());
    QVERIFY(r.mastersNotTaken.isEmpty());
}

void TstMemberCounting::mastersReplaceOrJoinTheList()
{
    const QStringList current = {QStringLiteral("Abc;De;2"), QStringLiteral("Typed;By;Hand;1")};
    const QStringList imported = {QStringLiteral("Abc;De;2"), QStringLiteral("abc;de;3"),
                                  QStringLiteral("New;One;1"), QStringLiteral("New;One;1")};
    MastersPlan p = planMasters(current, imported, false);
    QCOMPARE(p.list, (QStringList{QStringLiteral("Abc;De;2"), QStringLiteral("Typed;By;Hand;1"),
                                  QStringLiteral("abc;de;3"), QStringLiteral("New;One;1")}));
    QCOMPARE(p.added, (QStringList{QStringLiteral("abc;de;3"), QStringLiteral("New;One;1")}));
    QCOMPARE(p.notes.size(), 3); // already in the list, another grade, twice in the member list
    QVERIFY(p.notes[0].contains(QStringLiteral("schon in der Meisterliste")));
    QVERIFY(p.notes[1].contains(QStringLiteral("mit 2. Dan")));
    QVERIFY(p.notes[2].contains(QStringLiteral("zweimal")));

    p = planMasters(current, imported, true);
    QCOMPARE(p.list, (QStringList{QStringLiteral("Abc;De;2"), QStringLiteral("abc;de;3"),
                                  QStringLiteral("New;One;1")}));
    QCOMPARE(p.notes.size(), 1);
}

QTEST_GUILESS_MAIN(TstMemberCounting)
#include "tst_membercounting.moc"
