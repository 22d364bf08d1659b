// The counting rules on their own: ages on the reference day, the age
// groups' edges, dates as clubs type them, sexes, grades, the columns found
// by their headers, and what happens to members of other or unknown sex.

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
    QTest::newRow("dd.mm.yyyy") << "07.05.1980" << QDate(1980, 5, 7);
    QTest::newRow("d.m.yyyy") << "7.5.1980" << QDate(1980, 5, 7);
    QTest::newRow("blanks around") << "  7.5.1980 " << QDate(1980, 5, 7);
    QTest::newRow("yyyy-mm-dd") << "1980-05-07" << QDate(1980, 5, 7);
    QTest::newRow("with a time") << "1980-05-07 00:00:00" << QDate(1980, 5, 7);
    QTest::newRow("German with a time") << "07.05.1980 00:00" << QDate(1980, 5, 7);
    // Two-digit years: the century that puts the date on or before 1.1.2027.
    QTest::newRow("yy this century") << "3.4.15" << QDate(2015, 4, 3);
    QTest::newRow("yy on the reference day") << "1.1.27" << QDate(2027, 1, 1);
    QTest::newRow("yy day after the reference day") << "2.1.27" << QDate(1927, 1, 2);
    QTest::newRow("yy last century") << "3.4.45" << QDate(1945, 4, 3);
    QTest::newRow("yy 29 Feb 00") << "29.2.00" << QDate(2000, 2, 29);
    QTest::newRow("no such day") << "31.02.2000" << QDate();
    QTest::newRow("month 13") << "01.13.2000" << QDate();
    QTest::newRow("slashes are ambiguous") << "05/07/1980" << QDate();
    QTest::newRow("words") << "unbekannt" << QDate();
    QTest::newRow("three-digit year") << "1.1.980" << QDate();
}

void TstMemberCounting::birthDatesAsClubsWriteThem()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(readBirthDate(ListCell::fromText(text), QDate(2027, 1, 1)), date);
}

void TstMemberCounting::sexesAndGrades()
{
    const auto sex = [](const char *t) {
        return readSex(ListCell::fromText(QString::fromUtf8(t)));
    };
    for (const char *t : {"m", "M", "m\xc3\xa4nnlich", "M\xc3\xa4nnlich ", "Herr", "male", "Hr."})
        QVERIFY2(sex(t) == ListSex::Male, t);
    for (const char *t : {"w", "W", "weiblich", "Frau", "female", "f", "Fr."})
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

void TstMemberCounting::otherSexIsCountedOnlyWhereTheUserSays()
{
    const MemberSheet sheet = sheetOf({{QStringLiteral("divers"), QStringLiteral("1.1.2000")},
                                       {QString(), QStringLiteral("1.1.1990")},
                                       {QStringLiteral("m"), QStringLiteral("1.1.1950")}});
    const QDate day(2027, 1, 1);
    CountResult r = countMembers(sheet, sexAndBirth(), day, OtherSex::NotCounted);
    QCOMPARE(r.counted, 1);
    QCOMPARE(r.otherSex.size(), 2);
    QCOMPARE(r.notCounted.size(), 2);
    QCOMPARE(r.counts[6][Men], 1);

    r = countMembers(sheet, sexAndBirth(), day, OtherSex::AsMen);
    QCOMPARE(r.counted, 3);
    QCOMPARE(r.notCounted.size(), 0);
    QCOMPARE(r.otherSex.size(), 2); // still said
    QCOMPARE(r.counts[4][Men], 2);  // 27 and 37 years old
    QCOMPARE(r.counts[6][Men], 1);

    r = countMembers(sheet, sexAndBirth(), day, OtherSex::AsWomen);
    QCOMPARE(r.counts[4][Women], 2);
    QCOMPARE(r.counts[6][Men], 1);

    // Without a sex column every member is of unknown sex.
    ColumnChoice noSex;
    noSex[ListColumn::BirthDate] = 1;
    r = countMembers(sheet, noSex, day, OtherSex::AsWomen);
    QCOMPARE(r.counted, 3);
    QCOMPARE(r.otherSex.size(), 3);
}

void TstMemberCounting::implausibleDatesAreListedNotCounted()
{
    const MemberSheet sheet = sheetOf({{QStringLiteral("m"), QStringLiteral("1.1.1900")},
                                       {QStringLiteral("m"), QStringLiteral("2.1.1906")},
                                       {QStringLiteral("w"), QStringLiteral("2.1.2027")},
                                       {QStringLiteral("w"), QStringLiteral("1.1.2027")},
                                       {QStringLiteral("w"), QStringLiteral("gestern")},
                                       {QStringLiteral("w"), QString()}});
    const CountResult r = countMembers(sheet, sexAndBirth(), QDate(2027, 1, 1),
                                       OtherSex::NotCounted);
    QCOMPARE(r.counted, 2); // 120 years old, and born on the reference day
    QCOMPARE(r.counts[6][Men], 1);
    QCOMPARE(r.counts[0][Women], 1);
    QList<int> rows;
    for (const RowNote &n : r.notCounted)
        rows << n.row;
    QCOMPARE(rows, (QList<int>{2, 4, 6, 7}));
    QVERIFY(r.notCounted[0].text.contains(QStringLiteral("120")));
    QVERIFY(r.notCounted[1].text.contains(QStringLiteral("nach dem Stichtag")));
    QVERIFY(r.notCounted[2].text.contains(QStringLiteral("\u201egestern\u201c")));
    QCOMPARE(r.notCounted[3].text, QStringLiteral("Geburtsdatum fehlt"));
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
    CountResult r = countMembers(s, c, QDate(2027, 1, 1), OtherSex::NotCounted);
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
    r = countMembers(s, c, QDate(2027, 1, 1), OtherSex::NotCounted);
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
