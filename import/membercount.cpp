#include "import/membercount.h"

#include "entry/fieldchecks.h"
#include "entry/masters.h"
#include "reportfile/cp1252.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace zor {

namespace {

// Lower case without blanks and punctuation: "Geb.-Datum" -> "gebdatum".
QString headerKey(const QString &text)
{
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    return key;
}

// Headers each kind is known by, the better match first.
const QList<QStringList> &knownHeaders()
{
    static const QList<QStringList> h = {
            {QStringLiteral("geburtsdatum"), QStringLiteral("gebdatum"), QStringLiteral("gebdat"),
             QStringLiteral("geburtstag"), QStringLiteral("geboren"), QStringLiteral("geborenam"),
             QStringLiteral("gebam"), QStringLiteral("geb"), QStringLiteral("birthdate"),
             QStringLiteral("dateofbirth"), QStringLiteral("birthday"), QStringLiteral("dob"),
             QStringLiteral("born")},
            {QStringLiteral("geschlecht"), QStringLiteral("anrede"), QStringLiteral("mw"),
             QStringLiteral("sex"), QStringLiteral("gender"), QStringLiteral("salutation")},
            {QStringLiteral("nachname"), QStringLiteral("familienname"), QStringLiteral("name"),
             QStringLiteral("surname"), QStringLiteral("lastname"), QStringLiteral("familyname")},
            {QStringLiteral("vorname"), QStringLiteral("rufname"), QStringLiteral("firstname"),
             QStringLiteral("givenname"), QStringLiteral("forename")},
            {QStringLiteral("dan"), QStringLiteral("dangrad"), QStringLiteral("grad"),
             QStringLiteral("graduierung"), QStringLiteral("dangraduierung"),
             QStringLiteral("danrang"), QStringLiteral("grade"), QStringLiteral("rank"),
             QStringLiteral("dangrade")},
    };
    return h;
}

QString normalizedWord(const ListCell &cell)
{
    QString t = cell.text.trimmed().toLower();
    while (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    return t;
}

QString quotedValue(const ListCell &cell)
{
    QString shown = cell.display().simplified();
    if (shown.size() > 40)
        shown = shown.left(40) + QStringLiteral("\u2026");
    return QStringLiteral("\u201e%1\u201c").arg(shown);
}

QString cleanName(const ListCell &cell)
{
    return trimControl(cell.kind == ListCell::Empty ? QString() : cell.display());
}

} // namespace

QString listColumnCaption(ListColumn c)
{
    switch (c) {
    case ListColumn::BirthDate:
        return QStringLiteral("Geburtsdatum");
    case ListColumn::Sex:
        return QStringLiteral("Geschlecht");
    case ListColumn::Surname:
        return QStringLiteral("Nachname");
    case ListColumn::FirstName:
        return QStringLiteral("Vorname");
    case ListColumn::Grade:
        return QStringLiteral("Dan-Grad");
    }
    return QString();
}

ColumnChoice recognizeColumns(const ListRow &header)
{
    ColumnChoice choice;
    QList<QString> keys;
    for (const ListCell &c : header.cells)
        keys << headerKey(c.display());
    std::array<int, ListColumnCount> rank;
    rank.fill(1 << 30);
    QList<bool> taken(keys.size(), false);
    // Kinds in order; a header that names one kind well is not taken for another.
    for (int kind = 0; kind < ListColumnCount; ++kind) {
        const QStringList &names = knownHeaders()[kind];
        for (int col = 0; col < keys.size(); ++col) {
            if (taken[col])
                continue;
            const int r = int(names.indexOf(keys[col]));
            if (r >= 0 && r < rank[kind]) {
                rank[kind] = r;
                choice.index[kind] = col;
            }
        }
        if (choice.index[kind] >= 0)
            taken[choice.index[kind]] = true;
    }
    return choice;
}

int birthDateColumnByContent(const MemberSheet &sheet, const QDate &referenceDay)
{
    const int columns = sheet.columnCount();
    for (int col = 0; col < columns; ++col) {
        int filled = 0, dates = 0;
        for (qsizetype i = 1; i < sheet.rows.size(); ++i) {
            const ListCell &c = sheet.rows[i].cell(col);
            if (c.isBlank())
                continue;
            ++filled;
            if (readBirthDate(c, referenceDay).isValid())
                ++dates;
        }
        if (filled > 0 && dates * 2 > filled)
            return col;
    }
    return -1;
}

Result<int> firstCountableSheet(const MemberBook &book, const QDate &referenceDay)
{
    bool anyMembers = false;
    for (int i = 0; i < book.sheets.size(); ++i) {
        const MemberSheet &sheet = book.sheets[i];
        if (sheet.rows.size() < 2)
            continue;
        anyMembers = true;
        if (recognizeColumns(*sheet.header())[ListColumn::BirthDate] >= 0
            || birthDateColumnByContent(sheet, referenceDay) >= 0)
            return i;
    }
    return Failure{anyMembers ? QStringLiteral(
                           "In der Mitgliederliste gibt es keine Spalte mit Geburtsdaten. "
                           "Ohne Geburtsdatum k\u00f6nnen die Mitglieder nicht nach "
                           "Altersgruppen gez\u00e4hlt werden.\n\nBitte geben Sie der "
                           "Spalte mit den Geburtsdaten die \u00dcberschrift "
                           "\u201eGeburtsdatum\u201c und w\u00e4hlen Sie die Datei noch "
                           "einmal.")
                              : QStringLiteral("Die Mitgliederliste enth\u00e4lt keine Mitglieder: "
                                               "Unter der \u00dcberschrift steht keine Zeile.")};
}

QDate referenceDayFor(const QDate &today)
{
    return QDate(reportYear(today).toInt(), 1, 1);
}

int completedYears(const QDate &birth, const QDate &day)
{
    int years = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --years;
    return years;
}

int ageGroupOf(int age)
{
    for (int r = 0; r < AgeGroupCount - 1; ++r) {
        if (age <= ageBound(r))
            return r;
    }
    return AgeGroupCount - 1;
}

QDate readBirthDate(const ListCell &cell, const QDate &referenceDay)
{
    if (cell.kind == ListCell::Date)
        return cell.date;
    if (cell.kind != ListCell::Text)
        return QDate();
    static const QRegularExpression german(QStringLiteral(
            "^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    static const QRegularExpression iso(QStringLiteral(
            "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?Z?)?$"));
    const QString text = cell.text.trimmed();
    QRegularExpressionMatch m = german.match(text);
    if (m.hasMatch()) {
        const int day = m.captured(1).toInt();
        const int month = m.captured(2).toInt();
        int year = m.captured(3).toInt();
        if (m.capturedLength(3) == 2) {
            const QDate recent(2000 + year, month, day);
            year += recent.isValid() && recent > referenceDay ? 1900 : 2000;
        }
        return QDate(year, month, day);
    }
    m = iso.match(text);
    if (m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return QDate();
}

ListSex readSex(const ListCell &cell)
{
    const QString t = normalizedWord(cell);
    if (t.isEmpty())
        return ListSex::Unknown;
    static const QStringList men = {
            QStringLiteral("m"),    QStringLiteral("m\u00e4nnlich"), QStringLiteral("maennlich"),
            QStringLiteral("mann"), QStringLiteral("herr"),          QStringLiteral("hr"),
            QStringLiteral("male"), QStringLiteral("man"),           QStringLiteral("mr")};
    static const QStringList women = {
            QStringLiteral("w"),     QStringLiteral("weiblich"), QStringLiteral("frau"),
            QStringLiteral("fr"),    QStringLiteral("female"),   QStringLiteral("f"),
            QStringLiteral("woman"), QStringLiteral("mrs"),      QStringLiteral("ms")};
    if (men.contains(t))
        return ListSex::Male;
    if (women.contains(t))
        return ListSex::Female;
    return ListSex::Other;
}

int readGrade(const ListCell &cell)
{
    if (cell.kind == ListCell::Number) {
        const double n = cell.number;
        return n >= 1 && n <= 10 && n == double(int(n)) ? int(n) : 0;
    }
    if (cell.kind != ListCell::Text)
        return 0;
    QString t = cell.text.toLower();
    t.remove(QStringLiteral("dan"));
    t.remove(QLatin1Char('.'));
    t = t.trimmed();
    bool ok = false;
    const int g = t.toInt(&ok);
    return ok && g >= 1 && g <= 10 && t.size() <= 2 ? g : 0;
}

CountResult countMembers(const MemberSheet &sheet, const ColumnChoice &columns,
                         const QDate &referenceDay, OtherSex other)
{
    CountResult result;
    const int birthCol = columns[ListColumn::BirthDate];
    const int sexCol = columns[ListColumn::Sex];
    const int surnameCol = columns[ListColumn::Surname];
    const int firstCol = columns[ListColumn::FirstName];
    const int gradeCol = columns[ListColumn::Grade];
    const bool withMasters = gradeCol >= 0 && surnameCol >= 0 && firstCol >= 0;

    for (qsizetype i = 1; i < sheet.rows.size(); ++i) {
        const ListRow &row = sheet.rows[i];
        ++result.members;

        if (withMasters && !row.cell(gradeCol).isBlank()) {
            const ListCell &gradeCell = row.cell(gradeCol);
            const int grade = readGrade(gradeCell);
            const QString surname = cleanName(row.cell(surnameCol));
            const QString first = cleanName(row.cell(firstCol));
            QString why;
            if (grade == 0)
                why = QStringLiteral("Dan-Grad %1 ist kein Grad von 1 bis 10")
                              .arg(quotedValue(gradeCell));
            else if (surname.isEmpty() || first.isEmpty())
                why = QStringLiteral("Nachname oder Vorname fehlt");
            else if (surname.contains(QLatin1Char(';')) || first.contains(QLatin1Char(';')))
                why = QStringLiteral("der Name enth\u00e4lt ein \u201e;\u201c");
            else if (!cp1252::canEncode(surname) || !cp1252::canEncode(first))
                // Not taken with letters missing: the user types it as it can be stored.
                why = QStringLiteral("Name \u201e%1 %2\u201c: ").arg(first, surname)
                      + unstorableCharactersText(
                              cp1252::storable(first + QLatin1Char(' ') + surname).dropped)
                      + QStringLiteral(" Bitte tragen Sie den Meister von Hand ein.");
            if (why.isEmpty())
                result.masters << buildMasterEntry(surname, first, QString::number(grade));
            else
                result.mastersNotTaken << RowNote{row.number, why};
        }

        const ListCell &birthCell = row.cell(birthCol);
        if (birthCol < 0 || birthCell.isBlank()) {
            result.notCounted << RowNote{row.number, QStringLiteral("Geburtsdatum fehlt")};
            continue;
        }
        const QDate birth = readBirthDate(birthCell, referenceDay);
        if (!birth.isValid()) {
            result.notCounted << RowNote{row.number,
                                         QStringLiteral("Geburtsdatum %1 ist kein lesbares Datum")
                                                 .arg(quotedValue(birthCell))};
            continue;
        }
        const QString birthText = birth.toString(QStringLiteral("dd.MM.yyyy"));
        if (birth > referenceDay) {
            result.notCounted << RowNote{
                    row.number,
                    QStringLiteral("geboren am %1, nach dem Stichtag %2")
                            .arg(birthText, referenceDay.toString(QStringLiteral("dd.MM.yyyy")))};
            continue;
        }
        const int age = completedYears(birth, referenceDay);
        if (age > 120) {
            result.notCounted << RowNote{
                    row.number,
                    QStringLiteral("geboren am %1: \u00fcber 120 Jahre alt, wohl ein Tippfehler")
                            .arg(birthText)};
            continue;
        }

        int column = -1;
        const ListCell &sexCell = row.cell(sexCol);
        switch (sexCol < 0 ? ListSex::Unknown : readSex(sexCell)) {
        case ListSex::Male:
            column = Men;
            break;
        case ListSex::Female:
            column = Women;
            break;
        case ListSex::Other:
        case ListSex::Unknown: {
            const QString what
                    = sexCell.isBlank() ? QStringLiteral("Geschlecht nicht angegeben")
                                        : QStringLiteral("Geschlecht %1").arg(quotedValue(sexCell));
            result.otherSex << RowNote{row.number, what};
            if (other == OtherSex::AsMen)
                column = Men;
            else if (other == OtherSex::AsWomen)
                column = Women;
            else
                result.notCounted << RowNote{row.number,
                                             what
                                                     + QStringLiteral(", weder m\u00e4nnlich noch "
                                                                      "weiblich")};
            break;
        }
        }
        if (column < 0)
            continue;
        ++result.counts[ageGroupOf(age)][column];
        ++result.counted;
    }
    return result;
}

MastersPlan planMasters(const QStringList &current, const QStringList &imported, bool replace)
{
    MastersPlan plan;
    if (!replace)
        plan.list = current;
    // Surname and first name without regard to case: the same person.
    const auto person = [](const QString &entry) {
        const MasterParts p = splitMasterEntry(entry);
        return (p.surname + QLatin1Char(';') + p.firstName).toCaseFolded();
    };
    QHash<QString, QString> held; // person -> entry in the list
    if (!replace) {
        for (const QString &e : current)
            held.insert(person(e), e);
    }
    QSet<QString> seen;
    for (const QString &e : imported) {
        const MasterParts p = splitMasterEntry(e);
        const QString who = p.firstName + QLatin1Char(' ') + p.surname;
        if (seen.contains(e)) {
            plan.notes << QStringLiteral("%1 steht zweimal in der Mitgliederliste und wird einmal "
                                         "\u00fcbernommen.")
                                  .arg(who);
            continue;
        }
        seen.insert(e);
        if (!replace && current.contains(e)) {
            plan.notes << QStringLiteral("%1 (%2. Dan) steht schon in der Meisterliste.")
                                  .arg(who, p.grade);
            continue;
        }
        const auto it = held.constFind(person(e));
        if (it != held.cend())
            plan.notes << QStringLiteral("%1 steht schon mit %2. Dan in der Meisterliste; mit "
                                         "%3. Dan kommt ein zweiter Eintrag dazu.")
                                  .arg(who, splitMasterEntry(*it).grade, p.grade);
        plan.added << e;
        plan.list << e;
    }
    return plan;
}

std::array<std::array<QString, 2>, AgeGroupCount> countTexts(const MemberCounts &counts)
{
    std::array<std::array<QString, 2>, AgeGroupCount> texts;
    for (int g = 0; g < AgeGroupCount; ++g) {
        texts[g][Men] = QString::number(counts[g][Men]);
        texts[g][Women] = QString::number(counts[g][Women]);
    }
    return texts;
}

} // namespace zor
