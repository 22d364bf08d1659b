#pragma once

#include "reportfile/result.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace zor {

// One cell of a member list as the spreadsheet held it: text, a number, or a
// date (a date cell of a spreadsheet; dates typed as text stay text).
struct ListCell
{
    enum Kind { Empty, Text, Number, Date };
    Kind kind = Empty;
    QString text; // Text; for Number and Date the value as the list showed it
    double number = 0;
    QDate date;

    static ListCell fromText(const QString &t);
    static ListCell fromNumber(double n);
    static ListCell fromDate(const QDate &d);
    bool isBlank() const; // empty, or text of blanks only
    // The value as the dialog shows it: the text, the number, the date as dd.MM.yyyy.
    QString display() const;
};

// One row of a sheet with the number a spreadsheet program shows beside it.
struct ListRow
{
    int number = 0; // 1 = the first row of the sheet
    QList<ListCell> cells;

    const ListCell &cell(int column) const;
};

// One sheet of a member list: the first row that holds anything is the
// header, the rows after it are the members. Rows that hold nothing at all
// are not kept.
struct MemberSheet
{
    QString name;
    QList<ListRow> rows;

    int columnCount() const;
    const ListRow *header() const; // nullptr for an empty sheet
};

// Adds a row read from a file: trailing empty cells dropped, a row that
// holds nothing at all left out. False once the sheet has MaxListRows rows.
bool addListRow(MemberSheet &sheet, int number, QList<ListCell> &&cells);

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
