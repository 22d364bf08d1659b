// Prints how long a member list of 10,000 and of 100,000 members takes to be
// read from its file and counted, as CSV and as .xlsx (shared strings, date
// cells), and how the time grows with the size (also 200,000), and how long
// counting again takes when a choice in the dialog changes. Targets:
// 10,000 under 300 ms, 100,000 under 3 s, growing in proportion. Usage: bench_memberlists
// [repetitions]

#include "bench/benchtime.h"
#include "import/membercount.h"
#include "import/memberlistfile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <cstdio>

namespace {

struct Member
{
    QString surname, first, sex;
    QDate birth;
    int grade;
};

QList<Member> makeMembers(int n)
{
    static const char *const surnames[] = {"M\u00fcller", "Schmidt",         "Schneider",
                                           "Fischer",     "Wei\u00df",       "Gro\u00df",
                                           "Becker",      "\u00d6zt\u00fcrk"};
    static const char *const sexes[] = {"m", "w", "m\u00e4nnlich", "weiblich", "Herr", "Frau", "d"};
    QRandomGenerator rng(7);
    QList<Member> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << Member{QString::fromUtf8(surnames[rng.bounded(8)]) + QString::number(i),
                      QStringLiteral("Vorname%1").arg(rng.bounded(500)),
                      QString::fromUtf8(sexes[rng.bounded(7)]),
                      QDate(1930, 1, 1).addDays(rng.bounded(35000)),
                      rng.bounded(20) == 0 ? 1 + rng.bounded(10) : 0};
    return out;
}

void writeCsv(const QString &path, const QList<Member> &members)
{
    QByteArray out = "Mitgl.-Nr.;Nachname;Vorname;Geschlecht;Geburtsdatum;Dan;Eintritt\r\n";
    int nr = 1;
    for (const Member &m : members)
        out += QStringLiteral("%1;%2;%3;%4;%5;%6;01.01.2010\r\n")
                       .arg(nr++)
                       .arg(m.surname, m.first, m.sex,
                            m.birth.toString(QStringLiteral("dd.MM.yyyy")),
                            m.grade ? QString::number(m.grade) : QString())
                       .toUtf8();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray xmlEscaped(const QString &s)
{
    return s.toHtmlEscaped().toUtf8();
}

void writeXlsx(const QString &path, const QList<Member> &members)
{
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QByteArray shared, sheet;
    int strings = 0;
    const auto str = [&](const QString &s) {
        shared += "<si><t>" + xmlEscaped(s) + "</t></si>";
        return QByteArray::number(strings++);
    };
    sheet += "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>" + str(QStringLiteral("Nachname"))
             + "</v></c><c r=\"B1\" t=\"s\"><v>" + str(QStringLiteral("Vorname"))
             + "</v></c><c r=\"C1\" t=\"s\"><v>" + str(QStringLiteral("Geschlecht"))
             + "</v></c><c r=\"D1\" t=\"s\"><v>" + str(QStringLiteral("Geburtsdatum"))
             + "</v></c><c r=\"E1\" t=\"s\"><v>" + str(QStringLiteral("Dan")) + "</v></c></row>";
    int r = 2;
    for (const Member &m : members) {
        const QByteArray n = QByteArray::number(r++);
        sheet += "<row r=\"" + n + "\"><c r=\"A" + n + "\" t=\"s\"><v>" + str(m.surname)
                 + "</v></c><c r=\"B" + n + "\" t=\"s\"><v>" + str(m.first) + "</v></c><c r=\"C" + n
                 + "\" t=\"s\"><v>" + str(m.sex) + "</v></c><c r=\"D" + n + "\" s=\"1\"><v>"
                 + QByteArray::number(QDate(1899, 12, 30).daysTo(m.birth)) + "</v></c>";
        if (m.grade)
            sheet += "<c r=\"E" + n + "\"><v>" + QByteArray::number(m.grade) + "</v></c>";
        sheet += "</row>";
    }
    const QList<QPair<QString, QByteArray>> parts = {
            {QStringLiteral("[Content_Types].xml"), "<Types/>"},
            {QStringLiteral("_rels/.rels"),
             "<Relationships><Relationship Id=\"rId1\" Type=\"" + rel
                     + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
            {QStringLiteral("xl/workbook.xml"),
             "<workbook xmlns:r=\"" + rel
                     + "\"><sheets><sheet name=\"Mitglieder\" r:id=\"rId1\"/></sheets></workbook>"},
            {QStringLiteral("xl/_rels/workbook.xml.rels"),
             "<Relationships><Relationship Id=\"rId1\" Type=\"" + rel
                     + "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                       "Type=\""
                     + rel
                     + "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship "
                       "Id=\"rId3\" Type=\""
                     + rel + "/styles\" Target=\"styles.xml\"/></Relationships>"},
            {QStringLiteral("xl/styles.xml"),
             "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"},
            {QStringLiteral("xl/sharedStrings.xml"), "<sst>" + shared + "</sst>"},
            {QStringLiteral("xl/worksheets/sheet1.xml"),
             "<worksheet><sheetData>" + sheet + "</sheetData></worksheet>"},
    };
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        qFatal("cannot create %s", qPrintable(path));
    for (const auto &[name, data] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name))
            || file.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(name));
        file.close();
    }
    zip.close();
}

// Reads and counts the list as the dialog does for its first view.
int readAndCount(const QString &path)
{
    const zor::Result<zor::MemberBook> read = zor::readMemberListFile(path);
    if (!read)
        qFatal("%s: %s", qPrintable(path), qPrintable(read.reason()));
    const zor::Result<zor::FirstCount> first = zor::countFirstSheet(
            *read,
            zor::CountRules{QDate(2027, 1, 1), QDate(2026, 12, 9), zor::OtherSex::NotCounted});
    if (!first)
        qFatal("%s: %s", qPrintable(path), qPrintable(first.reason()));
    return first->result.members;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = zorbench::repetitions(argc, argv, 3);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    for (const char *kind : {"csv", "xlsx"}) {
        double ms[3] = {0, 0, 0};
        const int sizes[3] = {10000, 100000, 200000};
        for (int i = 0; i < 3; ++i) {
            const QList<Member> members = makeMembers(sizes[i]);
            const QString path = dir.filePath(QStringLiteral("liste%1.%2").arg(sizes[i]).arg(kind));
            if (QByteArray(kind) == "csv")
                writeCsv(path, members);
            else
                writeXlsx(path, members);
            ms[i] = zorbench::bestMs(runs, [&] {
                if (readAndCount(path) != sizes[i])
                    qFatal("wrong number of members");
            });
            std::printf("import_%s_%d_members_ms %.1f (target < %d, file %lld kB)\n", kind,
                        sizes[i], ms[i], i == 0 ? 300 : 3000 * (i == 2 ? 2 : 1),
                        static_cast<long long>(QFileInfo(path).size() / 1024));
        }
        // 10,000 members fit in the processor's caches, 100,000 do not; the
        // doubling from 100,000 to 200,000 shows how the cost grows.
        std::printf("import_%s_ratio_100000_to_10000 %.1f (linear: about 10)\n", kind,
                    ms[1] / ms[0]);
        std::printf("import_%s_ratio_200000_to_100000 %.1f (linear: about 2)\n", kind,
                    ms[2] / ms[1]);
    }
    // A changed choice in the dialog counts again on the window's own
    // thread (the reading is not repeated): that is what the user waits for.
    {
        const QString path = dir.filePath(QStringLiteral("liste200000.xlsx"));
        const zor::Result<zor::MemberBook> read = zor::readMemberListFile(path);
        if (!read)
            qFatal("%s: %s", qPrintable(path), qPrintable(read.reason()));
        const zor::MemberSheet &sheet = read->sheets.first();
        const zor::ColumnChoice columns = zor::recognizeLayout(sheet, QDate(2027, 1, 1));
        const double ms = zorbench::bestMs(runs, [&] {
            const zor::CountResult r = zor::countMembers(
                    sheet, columns,
                    zor::CountRules{QDate(2027, 1, 1), QDate(2026, 12, 9), zor::OtherSex::AsMen});
            if (r.members != 200000)
                qFatal("wrong number of members");
        });
        std::printf("import_recount_200000_members_ms %.1f (on the window's thread)\n", ms);
    }
    return 0;
}
