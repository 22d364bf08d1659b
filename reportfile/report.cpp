#include "reportfile/report.h"

#include <QDir>
#include <QFileInfo>

namespace zor {

QString fieldObjectName(int i)
{
#define ZOR_FIELD_NAME(name) #name,
    static const char *const names[FieldCount] = {ZOR_REPORT_FIELDS(ZOR_FIELD_NAME)};
#undef ZOR_FIELD_NAME
    return (i >= 0 && i < FieldCount) ? QString::fromLatin1(names[i]) : QString();
}

QString reportYear(const QDate &today)
{
    return QString::number(today.month() >= 6 ? today.year() + 1 : today.year());
}

QString ageGroupLabel(int r)
{
    static const char *const labels[AgeGroupCount] = {
            " 0 -  6 Jahre", " 7 - 14 Jahre", "15 - 18 Jahre", "19 - 26 Jahre",
            "27 - 40 Jahre", "41 - 60 Jahre", "über 60 Jahre",
    };
    return (r >= 0 && r < AgeGroupCount) ? QString::fromUtf8(labels[r]) : QString();
}

QString trimControl(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return (begin == 0 && end == text.size()) ? text : text.mid(begin, end - begin);
}

QString companionFilePath(const QString &reportPath, const QString &clubNumber)
{
    return QFileInfo(reportPath).absoluteDir().filePath(clubNumber + QStringLiteral(".zor"));
}

int ageBound(int r)
{
    static const int bounds[AgeGroupCount] = {6, 14, 18, 26, 40, 60, 500};
    return (r >= 0 && r < AgeGroupCount) ? bounds[r] : 0;
}

Report Report::fresh()
{
    Report r;
    r.text(Field::Nummer) = QStringLiteral("0000");
    for (auto &row : r.counts)
        row = {QStringLiteral("0"), QStringLiteral("0")};
    return r;
}

} // namespace zor
