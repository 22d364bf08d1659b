#include "import/membercount.h"

#include "core/cp1252.h"
#include "core/texts.h"
#include "entry/fieldchecks.h"
#include "entry/masters.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace zor {

namespace {

// The words of a heading in lower case: "Geschlecht (m/w/d)" -> geschlecht,
// m, w, d; "Geb.-Datum" -> geb, datum.
QStringList headerWords(const QString &text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c.toLower();
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

struct KnownHeading
{
    QString key; // the words run together: "geburtsdatum", "dateofbirth"
    bool inside; // also found among other words ("Geschlecht (m/w/d)")
};

// Headings each kind is known by, the better match first. A key that is
// also a part of unrelated headings ("Geb." of "Geb.-Ort", "Name" of
// "Name des Vereins") is only taken when it is the whole heading.
const QList<QList<KnownHeading>> &knownHeadings()
{
    const auto any = [](const char *k) { return KnownHeading{QString::fromUtf8(k), true}; };
    const auto whole = [](const char *k) { return KnownHeading{QString::fromUtf8(k), false}; };
    static const QList<QList<KnownHeading>> h = {
            {any("geburtsdatum"), any("gebdatum"), whole("gebdat"), any("geburtstag"),
             whole("geboren"), any("geborenam"), whole("gebam"), whole("geb"), any("birthdate"),
             any("dateofbirth"), any("birthday"), whole("dob"), whole("born")},
            {any("geschlecht"), any("anrede"), whole("mw"), whole("mwd"), any("sex"), any("gender"),
             any("salutation")},
            {any("nachname"), any("familienname"), whole("name"), any("surname"), any("lastname"),
             any("familyname")},
            {any("vorname"), any("rufname"), any("firstname"), any("givenname"), any("forename")},
            {whole("dan"), any("dangrad"), whole("grad"), any("graduierung"), any("dangraduierung"),
             any("danrang"), whole("grade"), whole("rank"), any("dangrade"), any("dan")},
    };
    return h;
}

// How well a heading names a kind: lower is better, -1 for not at all.
int headingRank(const QStringList &words, const QList<KnownHeading> &known)
{
    const QString whole = words.join(QString());
    int best = -1;
    for (int k = 0; k < known.size(); ++k) {
        const KnownHeading &h = known[k];
        int rank = -1;
        if (whole == h.key) {
            rank = 2 * k;
        } else if (h.inside) {
            // Any run of neighbouring words: "Geb. Datum (TT.MM.JJJJ)" holds "geb datum".
            for (qsizetype from = 0; from < words.size() && rank < 0; ++from) {
                QString run;
                for (qsizetype to = from; to < words.size() && run.size() < h.key.size(); ++to) {
                    run += words[to];
                    if (run == h.key) {
                        rank = 2 * k + 1;
                        break;
                    }
                }
            }
        }
        if (rank >= 0 && (best < 0 || rank < best))
            best = rank;
    }
    return best;
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
    return quoted(shown);
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
    QList<QStringList> words;
    for (const ListCell &c : header.cells)
        words << (c.kind == ListCell::Text ? headerWords(c.text) : QStringList());
    QList<bool> taken(words.size(), false);
    // Kinds in order; a heading that names one kind is not taken for another.
    for (int kind = 0; kind < ListColumnCount; ++kind) {
        int best = -1;
        for (int col = 0; col < words.size(); ++col) {
            if (taken[col] || words[col].isEmpty())
                continue;
            const int r = headingRank(words[col], knownHeadings()[kind]);
            if (r >= 0 && (best < 0 || r < best)) {
                best = r;
                choice.index[kind] = col;
            }
        }
        if (choice.index[kind] >= 0)
            taken[choice.index[kind]] = true;
    }
    return choice;
}

int findHeaderRow(const MemberSheet &sheet)
{
    int best = 0, bestFound = 0;
    const int rows = int(std::min<qsizetype>(sheet.rows.size(), HeaderSearchRows));
    for (int i = 0; i < rows; ++i) {
        const ColumnChoice c = recognizeColumns(sheet.rows[i]);
        const int found = int(
                std::count_if(c.index.cbegin(), c.index.cend(), [](int col) { return col >= 0; }));
        if (found > bestFound) {
            best = i;
            bestFound = found;
        }
    }
    return best;
}

std::optional<int> birthDateColumnByContent(const MemberSheet &sheet, const QDate &referenceDay,
                                            int header)
{
    const int columns = sheet.columnCount();
    for (int col = 0; col < columns; ++col) {
        int filled = 0, dates = 0;
        for (qsizetype i = header + 1; i < sheet.rows.size(); ++i) {
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
    return std::nullopt;
}

ColumnChoice recognizeColumnsUnder(const MemberSheet &sheet, int header, const QDate &referenceDay)
{
    ColumnChoice c = recognizeColumns(sheet.rows[header]);
    c.header = header;
    if (c[ListColumn::BirthDate] < 0)
        c[ListColumn::BirthDate]
                = birthDateColumnByContent(sheet, referenceDay, header).value_or(-1);
    return c;
}

ColumnChoice recognizeLayout(const MemberSheet &sheet, const QDate &referenceDay)
{
    if (sheet.rows.isEmpty())
        return ColumnChoice{};
    return recognizeColumnsUnder(sheet, findHeaderRow(sheet), referenceDay);
}

Result<int> firstCountableSheet(const MemberBook &book, const QDate &referenceDay)
{
    bool anyMembers = false;
    for (int i = 0; i < book.sheets.size(); ++i) {
        const MemberSheet &sheet = book.sheets[i];
        const ColumnChoice layout = recognizeLayout(sheet, referenceDay);
        if (sheet.rows.size() < layout.header + 2)
            continue;
        anyMembers = true;
        if (layout[ListColumn::BirthDate] >= 0)
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

BirthDateReading readBirthDateWithDoubt(const ListCell &cell, const QDate &referenceDay)
{
    if (cell.kind == ListCell::Date)
        return {cell.date, QDate()};
    if (cell.kind != ListCell::Text)
        return {};
    static const QRegularExpression german(QStringLiteral(
            "^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    static const QRegularExpression iso(QStringLiteral(
            "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?Z?)?$"));
    const QString text = cell.text.trimmed();
    QRegularExpressionMatch m = german.match(text);
    if (m.hasMatch()) {
        const int day = m.captured(1).toInt();
        const int month = m.captured(2).toInt();
        const int year = m.captured(3).toInt();
        if (m.capturedLength(3) == 4)
            return {QDate(year, month, day), QDate()};
        const QDate recent(2000 + year, month, day);
        const QDate older(1900 + year, month, day);
        const bool takeRecent = !older.isValid() || (recent.isValid() && recent <= referenceDay);
        const QDate chosen = takeRecent ? recent : older;
        const QDate other = takeRecent ? older : recent;
        const auto plausible = [&](const QDate &d) {
            return d.isValid() && d <= referenceDay && completedYears(d, referenceDay) <= MaxAge;
        };
        return {chosen, plausible(chosen) && plausible(other) ? other : QDate()};
    }
    m = iso.match(text);
    if (m.hasMatch())
        return {QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
                QDate()};
    return {};
}

QDate readBirthDate(const ListCell &cell, const QDate &referenceDay)
{
    return readBirthDateWithDoubt(cell, referenceDay).date;
}

ListSex readSex(const ListCell &cell)
{
    const QString t = normalizedWord(cell);
    if (t.isEmpty())
        return ListSex::Unknown;
    static const QStringList men = {QStringLiteral("m"),         QStringLiteral("m\u00e4nnlich"),
                                    QStringLiteral("maennlich"), QStringLiteral("m\u00e4nnl"),
                                    QStringLiteral("maennl"),    QStringLiteral("mnl"),
                                    QStringLiteral("mann"),      QStringLiteral("herr"),
                                    QStringLiteral("hr"),        QStringLiteral("junge"),
                                    QStringLiteral("male"),      QStringLiteral("man"),
                                    QStringLiteral("mr"),        QStringLiteral("boy")};
    static const QStringList women = {QStringLiteral("w"),
                                      QStringLiteral("weiblich"),
                                      QStringLiteral("weibl"),
                                      QStringLiteral("wbl"),
                                      QStringLiteral("frau"),
                                      QStringLiteral("fr"),
                                      QStringLiteral("m\u00e4dchen"),
                                      QStringLiteral("maedchen"),
                                      QStringLiteral("female"),
                                      QStringLiteral("f"),
                                      QStringLiteral("woman"),
                                      QStringLiteral("mrs"),
                                      QStringLiteral("ms"),
                                      QStringLiteral("girl")};
    if (men.contains(t))
        return ListSex::Male;
    if (women.contains(t))
        return ListSex::Female;
    // An address as the salutation column holds it: "Herr Dr.", "Frau Prof.".
    const QString first = t.section(QLatin1Char(' '), 0, 0);
    if (first == QLatin1StringView("herr"))
        return ListSex::Male;
    if (first == QLatin1StringView("frau"))
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
    // "3", "3.", "3. Dan", "Dan 3", and a whole number written with a zero
    // fraction: "3.0" as pandas writes it, "3,0" as German programs do.
    static const QRegularExpression grade(
            QStringLiteral("^(?:dan\\s*)?(\\d{1,2})(?:[.,]0+)?\\.?\\s*(?:dan)?$"),
            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = grade.match(cell.text.trimmed());
    if (!m.hasMatch())
        return 0;
    const int g = m.captured(1).toInt();
    return g >= 1 && g <= 10 ? g : 0;
}

CountResult countMembers(const MemberSheet &sheet, const ColumnChoice &columns,
                         const CountRules &rules)
{
    CountResult result;
    const QDate &referenceDay = rules.referenceDay;
    const int birthCol = columns[ListColumn::BirthDate];
    const int sexCol = columns[ListColumn::Sex];
    const int surnameCol = columns[ListColumn::Surname];
    const int firstCol = columns[ListColumn::FirstName];
    const int gradeCol = columns[ListColumn::Grade];
    const bool withMasters = gradeCol >= 0 && surnameCol >= 0 && firstCol >= 0;
    const QString dayFormat = QStringLiteral("dd.MM.yyyy");
    const QString noValue = QStringLiteral("Formel ohne gespeicherten Wert");

    for (qsizetype i = std::max(0, columns.header) + 1; i < sheet.rows.size(); ++i) {
        const ListRow &row = sheet.rows[i];
        ++result.members;
        if (row.hidden)
            ++result.hiddenRows;

        if (withMasters && !row.cell(gradeCol).isBlank()) {
            const ListCell &gradeCell = row.cell(gradeCol);
            const int grade = readGrade(gradeCell);
            const QString surname = cleanName(row.cell(surnameCol));
            const QString first = cleanName(row.cell(firstCol));
            QString why;
            if (gradeCell.kind == ListCell::Formula)
                why = QStringLiteral("Dan-Grad: ") + noValue;
            else if (grade == 0)
                why = QStringLiteral("Dan-Grad %1 ist kein Grad von 1 bis 10")
                              .arg(quotedValue(gradeCell));
            else if (surname.isEmpty() || first.isEmpty())
                why = QStringLiteral("Nachname oder Vorname fehlt");
            else if (surname.contains(QLatin1Char(';')) || first.contains(QLatin1Char(';')))
                why = QStringLiteral("der Name enth\u00e4lt ein \u201e;\u201c");
            else if (!cp1252::canEncode(surname) || !cp1252::canEncode(first))
                // Not taken with letters missing: the user types it as it can be stored.
                why = QStringLiteral("Name %1: ").arg(quoted(first + QLatin1Char(' ') + surname))
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
        if (birthCell.kind == ListCell::Formula) {
            result.notCounted << RowNote{row.number, QStringLiteral("Geburtsdatum: ") + noValue};
            continue;
        }
        const BirthDateReading reading = readBirthDateWithDoubt(birthCell, referenceDay);
        const QDate &birth = reading.date;
        if (!birth.isValid()) {
            result.notCounted << RowNote{row.number,
                                         QStringLiteral("Geburtsdatum %1 ist kein lesbares Datum")
                                                 .arg(quotedValue(birthCell))};
            continue;
        }
        const QString birthText = birth.toString(dayFormat);
        if (rules.today.isValid() && birth > rules.today) {
            result.notCounted << RowNote{
                    row.number, QStringLiteral("geboren am %1: Das Datum liegt in der Zukunft, "
                                               "wohl ein Tippfehler")
                                        .arg(birthText)};
            continue;
        }
        if (birth > referenceDay) {
            result.notCounted << RowNote{row.number,
                                         QStringLiteral("geboren am %1, nach dem Stichtag %2")
                                                 .arg(birthText, referenceDay.toString(dayFormat))};
            continue;
        }
        const int age = completedYears(birth, referenceDay);
        if (age > MaxAge) {
            result.notCounted << RowNote{
                    row.number,
                    QStringLiteral("geboren am %1: \u00fcber %2 Jahre alt, wohl ein Tippfehler")
                            .arg(birthText)
                            .arg(MaxAge)};
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
                    = sexCell.kind == ListCell::Formula ? QStringLiteral("Geschlecht: ") + noValue
                      : sexCell.isBlank()
                              ? QStringLiteral("Geschlecht nicht angegeben")
                              : QStringLiteral("Geschlecht %1").arg(quotedValue(sexCell));
            result.otherSex << RowNote{row.number, what};
            if (rules.other == OtherSex::AsMen)
                column = Men;
            else if (rules.other == OtherSex::AsWomen)
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
        if (reading.otherCentury.isValid()) {
            const int otherAge = completedYears(reading.otherCentury, referenceDay);
            const auto years = [](int n) {
                return n == 1 ? QStringLiteral("1 Jahr") : QStringLiteral("%1 Jahre").arg(n);
            };
            result.toCheck << RowNote{
                    row.number,
                    QStringLiteral("%1 gelesen als %2 (%3 alt), gez\u00e4hlt; oder war %4 "
                                   "gemeint (%5 alt)?")
                            .arg(quotedValue(birthCell), birthText, years(age),
                                 reading.otherCentury.toString(dayFormat), years(otherAge))};
        }
    }
    return result;
}

Result<FirstCount> countFirstSheet(const MemberBook &book, const CountRules &rules)
{
    const Result<int> sheet = firstCountableSheet(book, rules.referenceDay);
    if (!sheet)
        return sheet.failure();
    FirstCount first;
    first.sheet = *sheet;
    first.columns = recognizeLayout(book.sheets[first.sheet], rules.referenceDay);
    first.result = countMembers(book.sheets[first.sheet], first.columns, rules);
    return first;
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
