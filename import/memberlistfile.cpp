#include "import/memberlistfile.h"

#include "core/texts.h"
#include "import/csvreader.h"
#include "import/zipsheets.h"
#include "reportfile/safefile.h"

namespace zor {

namespace {

// Whether an OLE container (Compound File) holds a stream of this name. The
// directory entries sit 128 bytes apart in its sectors, each beginning with
// the name in UTF-16 and giving its length in bytes (with the closing zero)
// at offset 64. Looking at every such place is enough to tell an encrypted
// workbook from an old .xls; a wrong guess only changes which advice is shown.
bool oleHasStream(const QByteArray &bytes, QStringView name)
{
    QByteArray wanted;
    for (const QChar c : name)
        wanted.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const int length = int(name.size() + 1) * 2;
    for (qsizetype at = 512; at + 128 <= bytes.size(); at += 128) {
        if (uchar(bytes[at + 64]) == length && bytes[at + 65] == 0
            && bytes.mid(at, wanted.size()) == wanted)
            return true;
    }
    return false;
}

Result<MemberBook> oleFailure(const QByteArray &bytes)
{
    // Excel's and LibreOffice's encryption of .xlsx puts the workbook into
    // such a container as "EncryptedPackage".
    if (oleHasStream(bytes, u"EncryptedPackage") || oleHasStream(bytes, u"EncryptionInfo"))
        return Failure{passwordProtected()};
    if (oleHasStream(bytes, u"Workbook") || oleHasStream(bytes, u"Book"))
        return Failure{QStringLiteral(
                "Die Datei ist im alten Excel-Format (.xls) gespeichert, das dieses Programm "
                "nicht liest. Bitte speichern Sie die Mitgliederliste in Ihrem "
                "Tabellenprogramm als .xlsx-, .ods- oder CSV-Datei und w\u00e4hlen Sie sie dann "
                "noch einmal.")};
    return Failure{QStringLiteral(
            "Die Datei ist mit einem Kennwort gesch\u00fctzt oder im alten Excel-Format "
            "(.xls) gespeichert. Bitte speichern Sie die Mitgliederliste ohne Kennwort als "
            ".xlsx-, .ods- oder CSV-Datei und w\u00e4hlen Sie sie dann noch einmal.")};
}

} // namespace

Result<MemberBook> readMemberList(const QByteArray &bytes, const ProgressHook &progress)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return oleFailure(bytes);
    if (bytes.startsWith("%PDF") || bytes.startsWith("\x89PNG")
        || bytes.startsWith("\xFF\xD8\xFF")) {
        return Failure{QStringLiteral(
                "Die Datei ist keine Tabelle, sondern ein Dokument oder Bild. Bitte w\u00e4hlen "
                "Sie die Mitgliederliste als CSV-, Excel- (.xlsx) oder LibreOffice-Datei (.ods).")};
    }
    Result<MemberBook> read = MemberBook{};
    if (bytes.startsWith("PK\x03\x04")) {
        read = looksLikeOds(bytes) ? readOds(bytes, progress) : readXlsx(bytes, progress);
    } else {
        Result<CsvRead> csv = readCsv(bytes, progress);
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

Result<MemberBook> readMemberListFile(const QString &path, const ProgressHook &progress)
{
    // Pipes, devices and folders are refused without waiting on them, and so
    // is a file that grows past the limit while it is read.
    const ReadResult file = readFileBounded(path, MaxMemberListBytes);
    if (file)
        return readMemberList(file->bytes, progress);
    const QString name = quotedPath(path);
    const ReadFailure &failure = file.failure();
    switch (failure.kind) {
    case ReadFailure::NotFound:
        return Failure{QStringLiteral("Die Datei %1 gibt es nicht.").arg(name)};
    case ReadFailure::TooLarge:
        if (failure.size >= 0)
            return Failure{
                    QStringLiteral("Die Datei %1 ist %2 MB gro\u00df. Eine Mitgliederliste ist "
                                   "viel kleiner; Dateien \u00fcber %3 MB werden nicht gelesen. "
                                   "Bitte pr\u00fcfen Sie, ob Sie die richtige Datei gew\u00e4hlt "
                                   "haben.")
                            .arg(name, QString::number(failure.size / (1024 * 1024)),
                                 QString::number(MaxMemberListBytes / (1024 * 1024)))};
        return Failure{QStringLiteral("Die Datei %1 ist gr\u00f6\u00dfer als %2 MB und wird "
                                      "nicht gelesen.")
                               .arg(name, QString::number(MaxMemberListBytes / (1024 * 1024)))};
    case ReadFailure::Unreadable:
        break;
    }
    return Failure{QStringLiteral("Die Datei %1 kann nicht ge\u00f6ffnet werden:\n%2")
                           .arg(name, failure.reason)};
}

} // namespace zor
