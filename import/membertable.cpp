#include "import/membertable.h"

#include <algorithm>

namespace zor {

ListCell ListCell::fromText(const QString &t)
{
    ListCell c;
    c.kind = t.isEmpty() ? Empty : Text;
    c.text = t;
    return c;
}

ListCell ListCell::fromNumber(double n)
{
    ListCell c;
    c.kind = Number;
    c.number = n;
    c.text = QString::number(n, 'g', 15);
    return c;
}

ListCell ListCell::fromDate(const QDate &d)
{
    ListCell c;
    c.kind = Date;
    c.date = d;
    c.text = d.toString(QStringLiteral("dd.MM.yyyy"));
    return c;
}

ListCell ListCell::fromFormula(const QString &formula)
{
    ListCell c;
    c.kind = Formula;
    c.text = formula;
    return c;
}

bool ListCell::isBlank() const
{
    if (kind == Empty)
        return true;
    if (kind != Text)
        return false;
    // Without trimmed(): this runs for every cell, and a copy per cell shows.
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

QString ListCell::display() const
{
    return text;
}

const ListCell &ListRow::cell(int column) const
{
    static const ListCell empty;
    return column >= 0 && column < cells.size() ? cells[column] : empty;
}

int MemberSheet::columnCount() const
{
    qsizetype n = 0;
    for (const ListRow &r : rows)
        n = std::max(n, r.cells.size());
    return int(n);
}

const ListRow *MemberSheet::header() const
{
    return rows.isEmpty() ? nullptr : &rows.constFirst();
}

bool MemberSheet::columnHidden(int column) const
{
    return std::binary_search(hiddenColumns.cbegin(), hiddenColumns.cend(), column);
}

bool addListRow(MemberSheet &sheet, int number, QList<ListCell> &&cells, bool hidden)
{
    while (!cells.isEmpty() && cells.constLast().isBlank())
        cells.removeLast();
    if (cells.isEmpty())
        return true;
    if (sheet.rows.size() >= MaxListRows)
        return false;
    sheet.rows.append(ListRow{number, std::move(cells), hidden});
    return true;
}

QString passwordProtected()
{
    return QStringLiteral(
            "Die Datei ist mit einem Kennwort gesch\u00fctzt. So kann dieses Programm sie nicht "
            "lesen. Bitte \u00f6ffnen Sie die Mitgliederliste in Ihrem Tabellenprogramm, "
            "speichern Sie sie ohne Kennwort (\u201eSpeichern unter\u201c, ohne "
            "\u201eMit Kennwort speichern\u201c) und w\u00e4hlen Sie sie dann noch einmal.");
}

QString stoppedByUser()
{
    return QStringLiteral("Das Lesen der Mitgliederliste wurde abgebrochen.");
}

} // namespace zor
