#pragma once

#include "import/membertable.h"
#include "reportfile/report.h"

#include <QDate>

#include <array>
#include <optional>

namespace zor {

// The columns of a member list the counting needs.
enum class ListColumn : int { BirthDate, Sex, Surname, FirstName, Grade };
constexpr int ListColumnCount = 5;

// German caption of a column kind, as the dialog labels its choice.
QString listColumnCaption(ListColumn c);

// Column index (0-based) for each kind, -1 for none, and the row that
// heads them: the members are the rows below it.
struct ColumnChoice
{
    std::array<int, ListColumnCount> index{-1, -1, -1, -1, -1};
    int header = 0; // index in MemberSheet::rows
    int &operator[](ListColumn c) { return index[static_cast<int>(c)]; }
    int operator[](ListColumn c) const { return index[static_cast<int>(c)]; }
    bool operator==(const ColumnChoice &o) const { return index == o.index && header == o.header; }
};

// Finds the columns by the words of their headings, German or English,
// without regard to case, blanks and punctuation ("Geb.-Datum", "Date of
// birth", "Geschlecht (m/w/d)", "Graduierung (Dan)"). Each heading is taken
// for one kind at most. `header` of the result is 0: the caller knows the row.
ColumnChoice recognizeColumns(const ListRow &header);

// A title and blank rows may stand above the header ("Mitgliederliste TSV
// ..., Stand ..."): the header is the one of the first rows in which the
// most columns are recognised (the first of them on a tie; the first row
// when none names any). Its index in sheet.rows.
constexpr int HeaderSearchRows = 20;
int findHeaderRow(const MemberSheet &sheet);

// When no heading names the birth date: the first column in which most
// filled cells of the members' rows (those below `header`) are dates, if any.
std::optional<int> birthDateColumnByContent(const MemberSheet &sheet, const QDate &referenceDay,
                                            int header = 0);

// The columns under the header row `header` (an index in sheet.rows): by
// their headings, the birth date by content if need be.
ColumnChoice recognizeColumnsUnder(const MemberSheet &sheet, int header, const QDate &referenceDay);

// The header row and the columns the dialog proposes for a sheet: the header
// found, and the columns under it.
ColumnChoice recognizeLayout(const MemberSheet &sheet, const QDate &referenceDay);

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

// Older than this on the reference day is taken for a typo, not counted.
constexpr int MaxAge = 105;

// A birth date from a cell: a date cell, or text as dd.mm.yyyy, d.m.yy or
// yyyy-mm-dd (a time after it is ignored). A two-digit year is put in the
// century that makes the date no later than the reference day: "3.4.15" is
// 2015 on the reference day 1.1.2027, "3.4.45" is 1945. Invalid when the
// cell holds no such date.
struct BirthDateReading
{
    QDate date;
    // For a two-digit year that the other century would turn into an age
    // from 0 to MaxAge as well ("1.3.25": 2025 or 1925): that other date.
    QDate otherCentury;
};
BirthDateReading readBirthDateWithDoubt(const ListCell &cell, const QDate &referenceDay);
QDate readBirthDate(const ListCell &cell, const QDate &referenceDay);

enum class ListSex { Male, Female, Other, Unknown };
// m / männlich / männl. / Herr / Junge / male -> Male; w / weiblich / weibl. /
// Frau / Mädchen / female / f -> Female, in any case, with or without a dot;
// empty -> Unknown; anything else (divers, ohne Angabe, ...) -> Other.
ListSex readSex(const ListCell &cell);

// A Dan grade 1..10 from a cell ("3", "3. Dan", "3.Dan", "Dan 3", and "3.0"
// or "3,0" as programs write whole numbers with a fraction); 0 for anything
// else, "2.5" included.
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
    int hiddenRows = 0;             // members in rows the spreadsheet hides (counted as any)
    QList<RowNote> notCounted;      // rows that are not in the counts, with the reason
    QList<RowNote> otherSex;        // readable birth date, sex neither male nor female
    QList<RowNote> toCheck;         // counted, but the user should look: a two-digit year
    QStringList masters;            // entries as the masters list holds them, list order
    QList<RowNote> mastersNotTaken; // a grade column value that gives no entry
};

// The days and the choice a count depends on.
struct CountRules
{
    QDate referenceDay; // the ages are counted on this day
    QDate today;        // nobody is born after it
    OtherSex other = OtherSex::NotCounted;
};

// Counts the members of `sheet` (the rows below columns.header) by age
// group and sex on the reference day, and forms the masters entries when the
// grade, surname and first-name columns are chosen.
CountResult countMembers(const MemberSheet &sheet, const ColumnChoice &columns,
                         const CountRules &rules);

// What the dialog opens with: the first countable sheet, its layout and its
// count, worked out where a long list may take its time.
struct FirstCount
{
    int sheet = 0;
    ColumnChoice columns;
    CountResult result;
};
Result<FirstCount> countFirstSheet(const MemberBook &book, const CountRules &rules);

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
