#pragma once

#include "core/result.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

namespace zor {

// One cell of a member list as the spreadsheet held it: text, a number, a
// date (a date cell of a spreadsheet; dates typed as text stay text), or a
// formula whose result the file does not hold (written by a program that
// computes nothing, so nobody knows the value without recalculating).
struct ListCell
{
    enum Kind { Empty, Text, Number, Date, Formula };
    Kind kind = Empty;
    QString text; // Text; for Number and Date the value as the list showed it; the formula
    double number = 0;
    QDate date;

    static ListCell fromText(const QString &t);
    static ListCell fromNumber(double n);
    static ListCell fromDate(const QDate &d);
    static ListCell fromFormula(const QString &formula);
    bool isBlank() const; // empty, or text of blanks only
    // The value as the dialog shows it: the text, the number, the date as dd.MM.yyyy.
    QString display() const;
};

// One row of a sheet with the number a spreadsheet program shows beside it.
struct ListRow
{
    int number = 0; // 1 = the first row of the sheet
    QList<ListCell> cells;
    bool hidden = false; // hidden or filtered out in the spreadsheet program

    const ListCell &cell(int column) const;
};

// One sheet of a member list: its rows in order, rows that hold nothing at
// all left out. Which row is the header is for the counting to find out: a
// title may stand above it.
struct MemberSheet
{
    QString name;
    QList<ListRow> rows;
    QList<int> hiddenColumns; // 0-based, ascending

    int columnCount() const;
    const ListRow *header() const; // the first row; nullptr for an empty sheet
    bool columnHidden(int column) const;
};

// Adds a row read from a file: trailing empty cells dropped, a row that
// holds nothing at all left out. False once the sheet has MaxListRows rows.
bool addListRow(MemberSheet &sheet, int number, QList<ListCell> &&cells, bool hidden = false);

// Told now and then how far a long step has come (0 to 1); answers false
// when the user wants it stopped, and the step then ends as soon as it can.
using ProgressHook = std::function<bool(double done)>;

// What a step stopped through its ProgressHook answers.
QString stoppedByUser();

// What a file saved with a password is refused with, whatever its kind.
QString passwordProtected();

// What a member list file held: its sheets in file order (one for CSV).
struct MemberBook
{
    QList<MemberSheet> sheets;
};

// Limits that keep a wrong or hostile file from eating the machine.
constexpr qint64 MaxMemberListBytes = 50LL * 1024 * 1024;    // the file itself
constexpr qint64 MaxUnpackedPartBytes = 256LL * 1024 * 1024; // one XML part of .xlsx/.ods
constexpr int MaxListColumns = 1024;
constexpr int MaxListRows = 250000; // far more members than any club has

} // namespace zor
