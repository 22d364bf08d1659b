#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

namespace zor {

// The sixteen text fields of a report, in the order the report file stores them.
enum class Field : int {
    Vereinsname,
    Nummer,
    Code,
    AVName,
    ANName,
    Strasse,
    Plz,
    Ort,
    Tel,
    Fax,
    Email,
    DName,
    DStrasse,
    DPlz,
    DOrt,
    WebAdresse,
};

constexpr int FieldCount = 16;
constexpr int AgeGroupCount = 7;
constexpr int Men = 0;
constexpr int Women = 1;

// Object name of the control that holds field i (file order), e.g. "Vereinsname".
QString fieldObjectName(int i);

// Row label of age group r (0..6) as the member table shows it, e.g. " 0 -  6 Jahre".
QString ageGroupLabel(int r);

// Removes every leading and trailing character of value 32 or below (blanks and
// control characters); a no-break space and all other characters stay. This is
// how the report's fields and the masters entry fields are tidied.
QString trimControl(const QString &text);

// The companion copy beside the report file: the club number with ".zor", in
// the report's folder. It is the file the club sends in.
QString companionFilePath(const QString &reportPath, const QString &clubNumber);

// The year the report is for: from June on it is already next year's.
QString reportYear(const QDate &today);

// Upper age bound written for age group r (0..6): 6, 14, 18, 26, 40, 60, 500.
int ageBound(int r);

// The cell texts of the member counts: [age group][Men/Women].
using CountCells = std::array<std::array<QString, 2>, AgeGroupCount>;

// One yearly report as plain values, without any window.
struct Report
{
    std::array<QString, FieldCount> texts; // file order
    CountCells counts;                     // as typed
    QStringList masters;                   // entry texts in list order

    QString &text(Field f) { return texts[static_cast<int>(f)]; }
    const QString &text(Field f) const { return texts[static_cast<int>(f)]; }

    // The state of a new report: club number "0000", other texts empty, every count "0".
    static Report fresh();

    bool operator==(const Report &o) const
    {
        return texts == o.texts && counts == o.counts && masters == o.masters;
    }
    bool operator!=(const Report &o) const { return !(*this == o); }
};

} // namespace zor
