#include "import/memberlistfile.h"

#include "import/csvreader.h"
#include "import/zipsheets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zor {

Result<MemberBook> readMemberList(const QByteArray &bytes)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        // An OLE container: a workbook with a password, or the old .xls format.
        return Failure{QStringLiteral(
                "Die Datei ist mit einem Kennwort gesch\u00fctzt oder im alten Excel-Format "
                "(.xls) gespeichert. Bitte speichern Sie die Mitgliederliste ohne Kennwort als "
                ".xlsx-, .ods- oder CSV-Datei und w\u00e4hlen Sie sie dann noch einmal.")};
    }
    if (bytes.startsWith("%PDF") || bytes.startsWith("\x89PNG")
        || bytes.startsWith("\xFF\xD8\xFF")) {
        return Failure{QStringLiteral(
                "Die Datei ist keine Tabelle, sondern ein Dokument oder Bild. Bitte w\u00e4hlen "
                "Sie die Mitgliederliste als CSV-, Excel- (.xlsx) oder LibreOffice-Datei (.ods).")};
    }
    Result<MemberBook> read = MemberBook{};
    if (bytes.startsWith("PK\x03\x04")) {
        read = looksLikeOds(bytes) ? readOds(bytes) : readXlsx(bytes);
    } else {
        Result<CsvRead> csv = readCsv(bytes);
        if (!csv)
            return csv.failure();
        read = MemberBook{{std::move(csv).value().sheet}};
    }
    if (!read)
        return read;
    const QList<MemberSheet> &sheets = read->sheets;
    const bool anyRows = std::any_of(sheets.cbegin(), sheets.cend(),
                                     [](const MemberSheet &s) { return !s.rows.isEmpty(); });
    if (!anyRows)
        return Failure{QStringLiteral(
                "Die Mitgliederliste ist leer: Sie enth\u00e4lt keine einzige Zeile.")};
    return read;
}

Result<MemberBook> readMemberListFile(const QString &path)
{
    const QString name = QStringLiteral("\u201e%1\u201c").arg(QDir::toNativeSeparators(path));
    const QFileInfo info(path);
    if (!info.isFile())
        return Failure{QStringLiteral("Die Datei %1 gibt es nicht.").arg(name)};
    if (info.size() > MaxMemberListBytes)
        return Failure{
                QStringLiteral("Die Datei %1 ist %2 MB gro\u00df. Eine Mitgliederliste ist "
                               "viel kleiner; Dateien \u00fcber %3 MB werden nicht gelesen. Bitte "
                               "pr\u00fcfen Sie, ob Sie die richtige Datei gew\u00e4hlt haben.")
                        .arg(name)
                        .arg(info.size() / (1024 * 1024))
                        .arg(MaxMemberListBytes / (1024 * 1024))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("Die Datei %1 kann nicht ge\u00f6ffnet werden:\n%2")
                               .arg(name, file.errorString())};
    // The size may have grown since it was looked at: never read past the limit.
    const QByteArray bytes = file.read(MaxMemberListBytes + 1);
    if (bytes.size() > MaxMemberListBytes)
        return Failure{QStringLiteral("Die Datei %1 ist gr\u00f6\u00dfer als %2 MB und wird "
                                      "nicht gelesen.")
                               .arg(name)
                               .arg(MaxMemberListBytes / (1024 * 1024))};
    if (file.error() != QFileDevice::NoError)
        return Failure{QStringLiteral("Die Datei %1 konnte nicht gelesen werden:\n%2")
                               .arg(name, file.errorString())};
    return readMemberList(bytes);
}

} // namespace zor
