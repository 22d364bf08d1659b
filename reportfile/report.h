#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

namespace zor {

// The sixteen text fields of a report, in the order the report file stores
// them. Each is held by the window's line edit of the same name: this one
// list gives the enum, the control's object name and the window's lookup.
// clang-format off
#define ZOR_REPORT_FIELDS(F)                                                   \
    F(Vereinsname) F(Nummer) F(Code) F(AVName) F(ANName) F(Strasse) F(Plz)     \
    F(Ort) F(Tel) F(Fax) F(Email) F(DName) F(DStrasse) F(DPlz) F(DOrt)         \
    F(WebAdresse)
// clang-format on

#define ZOR_FIELD_ENUMERATOR(name) name,
enum class Field : int { ZOR_REPORT_FIELDS(ZOR_FIELD_ENUMERATOR) };
#undef ZOR_FIELD_ENUMERATOR

#define ZOR_FIELD_ONE(name) +1
constexpr int FieldCount = 0 ZOR_REPORT_FIELDS(ZOR_FIELD_ONE);
#undef ZOR_FIELD_ONE
static_assert(FieldCount == 16, "the report file holds sixteen texts");

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

// The sixteen texts in file order.
using ReportTexts = std::array<QString, FieldCount>;

// The cell texts of the member counts: [age group][Men/Women].
using CountCells = std::array<std::array<QString, 2>, AgeGroupCount>;

// One yearly report as plain values, without any window.
struct Report
{
    ReportTexts texts;   // file order
    CountCells counts;   // as typed
    QStringList masters; // entry texts in list order

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
