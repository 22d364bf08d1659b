#pragma once

#include "import/membertable.h"
#include "reportfile/report.h"

#include <QDate>

#include <array>

namespace zor {

// The columns of a member list the counting needs.
enum class ListColumn : int { BirthDate, Sex, Surname, FirstName, Grade };
constexpr int ListColumnCount = 5;

// German caption of a column kind, as the dialog labels its choice.
QString listColumnCaption(ListColumn c);

// Column index (0-based) for each kind, -1 for none.
struct ColumnChoice
{
    std::array<int, ListColumnCount> index{-1, -1, -1, -1, -1};
    int &operator[](ListColumn c) { return index[static_cast<int>(c)]; }
    int operator[](ListColumn c) const { return index[static_cast<int>(c)]; }
    bool operator==(const ColumnChoice &o) const { return index == o.index; }
};

// Finds the columns by their headers, German or English, without regard to
// case, blanks and punctuation ("Geb.-Datum", "Date of birth", "Anrede", ...).
// Each header is taken for one kind at most.
ColumnChoice recognizeColumns(const ListRow &header);

// When no header names the birth date: the first column in which most
// filled cells of the members' rows are dates. -1 when there is none.
int birthDateColumnByContent(const MemberSheet &sheet, const QDate &referenceDay);

// The first sheet that can be counted: members under a header and a
// birth-date column (by header or content). Fails, saying why, when none is.
Result<int> firstCountableSheet(const MemberBook &book, const QDate &referenceDay);

// The day the ages are counted on: 1 January of the year the report is for.
QDate referenceDayFor(const QDate &today);

// Completed years of a person born on `birth` on `day` (born on 29 February:
// a year older from 1 March in years without that day).
int completedYears(const QDate &birth, const QDate &day);

// The age group (0..6, the grid's rows) of an age.
int ageGroupOf(int age);

// A birth date from a cell: a date cell, or text as dd.mm.yyyy, d.m.yy or
// yyyy-mm-dd (a time after it is ignored). A two-digit year is put in the
// century that makes the date no later than the reference day: "3.4.15" is
// 2015 on the reference day 1.1.2027, "3.4.45" is 1945. Invalid when the
// cell holds no such date.
QDate readBirthDate(const ListCell &cell, const QDate &referenceDay);

enum class ListSex { Male, Female, Other, Unknown };
// m / männlich / Herr / male -> Male; w / weiblich / Frau / female / f -> Female;
// empty -> Unknown; anything else (divers, ohne Angabe, ...) -> Other.
ListSex readSex(const ListCell &cell);

// A Dan grade 1..10 from a cell ("3", "3. Dan", "3.Dan", "Dan 3"); 0 for anything else.
int readGrade(const ListCell &cell);

// What to do with members whose sex is neither male nor female.
enum class OtherSex { NotCounted, AsMen, AsWomen };

// A row of the list with what the dialog says about it.
struct RowNote
{
    int row = 0; // the row number the spreadsheet shows
    QString text;
};

using MemberCounts = std::array<std::array<qint32, 2>, AgeGroupCount>; // [group][Men/Women]

struct CountResult
{
    MemberCounts counts{};
    int members = 0;                // rows under the header
    int counted = 0;                // members in the counts
    QList<RowNote> notCounted;      // rows that are not in the counts, with the reason
    QList<RowNote> otherSex;        // readable birth date, sex neither male nor female
    QStringList masters;            // entries as the masters list holds them, list order
    QList<RowNote> mastersNotTaken; // a grade column value that gives no entry
};

// Counts the members of `sheet` (its first row being the header) by age
// group and sex on referenceDay, and forms the masters entries when the
// grade, surname and first-name columns are chosen.
CountResult countMembers(const MemberSheet &sheet, const ColumnChoice &columns,
                         const QDate &referenceDay, OtherSex other);

// What the masters list becomes when the entries from a member list are
// taken: in place of the list, or added to it. Entries the list holds already
// are not added twice; every duplicate is pointed out.
struct MastersPlan
{
    QStringList list;  // the whole list afterwards, unsorted
    QStringList added; // the entries from the member list that go in
    QStringList notes; // German, one line per duplicate
};
MastersPlan planMasters(const QStringList &current, const QStringList &imported, bool replace);

// The counts as the grid's cells hold them.
std::array<std::array<QString, 2>, AgeGroupCount> countTexts(const MemberCounts &counts);

} // namespace zor
