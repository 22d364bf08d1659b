// Files that are no member list, or a broken or hostile one: each is refused
// with a German message and nothing of it is taken. Also the parts of a
// workbook that writers put in differently (shared-string runs, cells without
// references, date styles, the 1900 system's missing leap day).

#include "import/membercount.h"
#include "import/memberlistfile.h"
#include "import/zipsheets.h"
#include "tests/support/testfiles.h"
#include "tests/support/ziptools.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace zor;

namespace {

QString failure(const QByteArray &bytes)
{
    return readMemberList(bytes).reason();
}

MemberSheet firstSheet(const QByteArray &bytes)
{
    const Result<MemberBook> read = readMemberList(bytes);
    if (!read)
        qFatal("not read: %s", qPrintable(read.reason()));
    return read->sheets.first();
}

QByteArray dataBytes(const char *name)
{
    return zortest::readAll(QStringLiteral(ZOR_IMPORT_DATA "/") + QLatin1StringView(name));
}

// Sets the uncompressed size that the central directory gives for `part`.
void claimSize(QByteArray &zip, const QByteArray &part, quint32 size)
{
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0;
         at = zip.indexOf("PK\x01\x02", at + 4)) {
        const int nameLength = uchar(zip[at + 28]) | uchar(zip[at + 29]) << 8;
        if (zip.mid(at + 46, nameLength) != part)
            continue;
        for (int i = 0; i < 4; ++i)
            zip[at + 24 + i] = char((size >> (8 * i)) & 0xFF);
        return;
    }
    qFatal("no part %s", part.constData());
}

// Where the (compressed) data of `part` begins in the archive.
qsizetype localData(const QByteArray &zip, const QByteArray &part)
{
    for (qsizetype at = zip.indexOf("PK\x03\x04"); at >= 0;
         at = zip.indexOf("PK\x03\x04", at + 4)) {
        const int nameLength = uchar(zip[at + 26]) | uchar(zip[at + 27]) << 8;
        const int extraLength = uchar(zip[at + 28]) | uchar(zip[at + 29]) << 8;
        if (zip.mid(at + 30, nameLength) == part)
            return at + 30 + nameLength + extraLength;
    }
    qFatal("no part %s", part.constData());
}

// An OLE container (Compound File) whose directory holds streams of these
// names, as Excel's encryption and the old .xls format write them.
QByteArray oleWith(const QStringList &streams)
{
    QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole += QByteArray(504, '\0');
    for (const QString &name : QStringList{QStringLiteral("Root Entry")} + streams) {
        QByteArray entry(128, '\0');
        for (int i = 0; i < name.size(); ++i) {
            entry[2 * i] = char(name[i].unicode() & 0xFF);
            entry[2 * i + 1] = char(name[i].unicode() >> 8);
        }
        entry[64] = char((name.size() + 1) * 2);
        ole += entry;
    }
    return ole;
}

} // namespace

class TstBadMemberLists : public QObject
{
    Q_OBJECT

private slots:
    void notASpreadsheet();
    void emptyListsAndListsWithoutBirthDates();
    void passwordProtectedFiles();
    void passwordProtectedAndOldFilesAreNamedSo_data();
    void passwordProtectedAndOldFilesAreNamedSo();
    void numberFormatsTellDatesFromNumbers_data();
    void numberFormatsTellDatesFromNumbers();
    void damagedFiles();
    void aHugeFileIsRefusedBeforeItIsRead();
    void zipBombsAndEntityExpansionAreRefused();
    void workbookPartsAsDifferentWritersPutThem();
};

void TstBadMemberLists::notASpreadsheet()
{
    const QString png = failure(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    QVERIFY2(png.contains(QStringLiteral("keine Tabelle")), qPrintable(png));
    QVERIFY(failure("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n").contains(QStringLiteral("keine Tabelle")));
    // Binary bytes under a .csv name.
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary += char(i * 37 % 256);
    QVERIFY(failure(binary).contains(QStringLiteral("keine Tabelle")));
    // A zip that is neither workbook nor spreadsheet (a plain archive).
    const QByteArray archive = zortest::zipOf({{QStringLiteral("readme.txt"), "hallo"}});
    QVERIFY(failure(archive).contains(QStringLiteral("keine Excel-Tabelle")));
}

void TstBadMemberLists::emptyListsAndListsWithoutBirthDates()
{
    QVERIFY(failure("").contains(QStringLiteral("leer")));
    QVERIFY(failure(";;;\r\n\r\n ; \r\n").contains(QStringLiteral("leer")));
    const QByteArray emptyWorkbook = zortest::zipOf(zortest::workbookParts(""));
    QVERIFY(failure(emptyWorkbook).contains(QStringLiteral("leer")));

    const QDate day(2027, 1, 1);
    // A header and nothing under it.
    Result<MemberBook> read = readMemberList("Name;Geburtsdatum\r\n");
    QVERIFY(read);
    Result<int> sheet = firstCountableSheet(*read, day);
    QVERIFY(!sheet);
    QVERIFY(sheet.reason().contains(QStringLiteral("keine Mitglieder")));
    // No column is headed as the birth date, and none holds dates.
    read = readMemberList("Name;Vorname;Ort\r\nA;B;Bonn\r\nC;D;Köln\r\n");
    QVERIFY(read);
    sheet = firstCountableSheet(*read, day);
    QVERIFY(!sheet);
    QVERIFY(sheet.reason().contains(QStringLiteral("keine Spalte mit Geburtsdaten")));
    QVERIFY(!birthDateColumnByContent(read->sheets[0], day));
    // A column of dates under a header nobody foresaw is found by its content.
    read = readMemberList("Name;Tag der Geburt\r\nA;01.02.1990\r\nB;1990-03-04\r\nC;\r\n");
    QVERIFY(read);
    const MemberBook book = *read;
    sheet = firstCountableSheet(book, day);
    QVERIFY(sheet);
    QCOMPARE(*sheet, 0);
    QCOMPARE(birthDateColumnByContent(book.sheets[0], day).value_or(-1), 1);
}

void TstBadMemberLists::passwordProtectedFiles()
{
    const QByteArray locked = zortest::zipOf(
            zortest::workbookParts(
                    "<row r=\"1\"><c t=\"inlineStr\"><is><t>Name</t></is></c></row>"),
            "geheim");
    const QString zipped = failure(locked);
    QVERIFY2(zipped.contains(QStringLiteral("Kennwort")), qPrintable(zipped));
    // Excel's own encryption puts the workbook into an OLE container.
    QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole += QByteArray(504, '\0');
    QVERIFY(failure(ole).contains(QStringLiteral("Kennwort")));
}

void TstBadMemberLists::passwordProtectedAndOldFilesAreNamedSo_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("notSaid");
    const QString password = QStringLiteral("mit einem Kennwort gesch\u00fctzt. So kann");
    QTest::newRow("LibreOffice .ods with a password")
            << dataBytes("libreoffice-kennwort.ods") << password
            << QStringLiteral("besch\u00e4digt");
    QTest::newRow("an .xlsx encrypted by Excel or LibreOffice")
            << oleWith({QStringLiteral("EncryptionInfo"), QStringLiteral("EncryptedPackage")})
            << password << QStringLiteral(".xls");
    QTest::newRow("a zip entry with a password")
            << zortest::zipOf(zortest::workbookParts("<row r=\"1\"></row>"), "geheim") << password
            << QStringLiteral("besch\u00e4digt");
    QTest::newRow("LibreOffice's .xls")
            << dataBytes("libreoffice.xls") << QStringLiteral("im alten Excel-Format (.xls)")
            << QStringLiteral("Kennwort");
    // A stream name at another offset than a directory entry's is no entry.
    QByteArray shifted = oleWith({QStringLiteral("EncryptedPackage")});
    shifted.insert(512, "xx");
    QTest::newRow("neither told apart")
            << shifted << QStringLiteral("Kennwort gesch\u00fctzt oder im alten")
            << QStringLiteral("besch\u00e4digt");
}

void TstBadMemberLists::passwordProtectedAndOldFilesAreNamedSo()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, said);
    QFETCH(QString, notSaid);
    const QString why = failure(bytes);
    QVERIFY2(why.contains(said), qPrintable(why));
    QVERIFY2(!why.contains(notSaid), qPrintable(why));
}

void TstBadMemberLists::numberFormatsTellDatesFromNumbers_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("date");
    QTest::newRow("LibreOffice's German short date") << "DD.MM.YY" << true;
    QTest::newRow("German letters") << "[$-407]TT.MM.JJJJ" << true;
    QTest::newRow("ISO with a time") << "yyyy-mm-dd hh:mm" << true;
    QTest::newRow("d/m/yy with a text part") << "d/m/yy;@" << true;
    QTest::newRow("General") << "General" << false;
    QTest::newRow("Standard, as German programs name it") << "Standard" << false;
    QTest::newRow("a grade with a word") << "0\" Dan\"" << false;
    QTest::newRow("minutes and seconds") << "mm:ss" << false;
}

void TstBadMemberLists::numberFormatsTellDatesFromNumbers()
{
    QFETCH(QString, format);
    QFETCH(bool, date);
    auto parts = zortest::workbookParts("<row r=\"1\"><c s=\"1\"><v>3</v></c></row>");
    for (auto &p : parts) {
        if (p.first == QStringLiteral("xl/styles.xml"))
            p.second.replace("[$-407]DD.MM.YYYY", format.toHtmlEscaped().toUtf8());
    }
    const ListCell cell = firstSheet(zortest::zipOf(parts)).rows[0].cell(0);
    QCOMPARE(cell.kind, date ? ListCell::Date : ListCell::Number);
    if (!date)
        QCOMPARE(readGrade(cell), 3);
}

void TstBadMemberLists::damagedFiles()
{
    for (const char *name : {"xlsxwriter.xlsx", "openpyxl.xlsx", "odfpy.ods"}) {
        const QByteArray whole = dataBytes(name);
        QVERIFY(whole.size() > 1000);
        const QString cut = failure(whole.left(whole.size() / 2));
        QVERIFY2(cut.contains(QStringLiteral("besch\u00e4digt")), qPrintable(name + (": " + cut)));
        // Bytes changed inside the compressed data: the check sum finds it.
        QByteArray garbled = whole;
        const QByteArray part = QByteArray(name).endsWith(".ods") ? "content.xml"
                                                                  : "xl/worksheets/sheet1.xml";
        const qsizetype at = localData(whole, part);
        for (qsizetype i = at + 10; i < at + 40; ++i)
            garbled[i] = char(garbled[i] ^ 0x5A);
        const QString bad = failure(garbled);
        QVERIFY2(!bad.isEmpty(), name);
    }
    // Not a well-formed sheet.
    const QByteArray broken = zortest::zipOf(
            zortest::workbookParts("<row r=\"1\"><c><v>1</v></row>"));
    QVERIFY(failure(broken).contains(QStringLiteral("besch\u00e4digt")));
}

void TstBadMemberLists::aHugeFileIsRefusedBeforeItIsRead()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mitglieder.csv"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write("Name;Geburtsdatum\r\n") > 0);
    QVERIFY(f.resize(100LL * 1024 * 1024)); // sparse: 100 MB that cost no disk
    f.close();
    Result<MemberBook> read = readMemberListFile(path);
    QVERIFY(!read);
    QVERIFY2(read.reason().contains(QStringLiteral("100 MB"))
                     && read.reason().contains(QStringLiteral("50 MB")),
             qPrintable(read.reason()));

    // Just under the limit it is read (and is then just no member list).
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(MaxMemberListBytes));
    f.close();
    read = readMemberListFile(path);
    QVERIFY(!read);
    QVERIFY(!read.reason().contains(QStringLiteral("50 MB")));

    read = readMemberListFile(dir.filePath(QStringLiteral("fehlt.csv")));
    QVERIFY(!read);
    QVERIFY(read.reason().contains(QStringLiteral("gibt es nicht")));

    // A folder or a pipe under the name is there, but no file to read; the
    // pipe, which nobody writes to, is not waited on.
    const QString folder = dir.filePath(QStringLiteral("ordner.csv"));
    QVERIFY(QDir().mkdir(folder));
    const QString pipe = dir.filePath(QStringLiteral("rohr.csv"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    for (const QString &odd : {folder, pipe}) {
        read = readMemberListFile(odd);
        QVERIFY(!read);
        QVERIFY2(read.reason().contains(QStringLiteral("kann nicht ge\u00f6ffnet werden"))
                         && !read.reason().contains(QStringLiteral("gibt es nicht")),
                 qPrintable(read.reason()));
    }
}

void TstBadMemberLists::zipBombsAndEntityExpansionAreRefused()
{
    QByteArray bomb = zortest::zipOf(zortest::workbookParts("<row r=\"1\"></row>"));
    claimSize(bomb, "xl/worksheets/sheet1.xml", 300u * 1024 * 1024);
    const QString big = failure(bomb);
    QVERIFY2(big.contains(QStringLiteral("256 MB")), qPrintable(big));

    // A billion laughs in the sheet, in the shared strings, in an .ods.
    const QByteArray laughs
            = "<!DOCTYPE worksheet [<!ENTITY a \"hahahahahahahahahaha\">"
              "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
              "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>";
    auto parts = zortest::workbookParts("<row r=\"1\"><c t=\"s\"><v>0</v></c></row>",
                                        "<si><t>&e;</t></si>");
    for (auto &p : parts) {
        if (p.first == QStringLiteral("xl/sharedStrings.xml"))
            p.second.prepend(laughs);
    }
    QVERIFY(failure(zortest::zipOf(parts)).contains(QStringLiteral("keine Excel-Tabelle")));
    parts = zortest::workbookParts("<row r=\"1\"><c t=\"inlineStr\"><is><t>&e;</t></is></c></row>");
    parts.last().second.prepend(laughs);
    QVERIFY(failure(zortest::zipOf(parts)).contains(QStringLiteral("keine Excel-Tabelle")));
    // An external entity is never fetched: the file is refused as well.
    parts = zortest::workbookParts("<row r=\"1\"><c t=\"inlineStr\"><is><t>&x;</t></is></c></row>");
    parts.last().second.prepend("<!DOCTYPE worksheet [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>");
    QVERIFY(failure(zortest::zipOf(parts)).contains(QStringLiteral("keine Excel-Tabelle")));

    const QByteArray ods = zortest::zipOf(
            {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
             {QStringLiteral("content.xml"),
              laughs
                      + "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:"
                        "xmlns:office:1.0\"/>"}});
    QVERIFY(looksLikeOds(ods));
    QVERIFY(failure(ods).contains(QStringLiteral("keine LibreOffice-Tabelle")));
}

void TstBadMemberLists::workbookPartsAsDifferentWritersPutThem()
{
    const QByteArray shared = "<si><r><t>Geb</t></r><r><rPr/><t>urtsdatum</t></r>"
                              "<rPh><t>\u30B2</t></rPh></si>"
                              "<si><t xml:space=\"preserve\"> Name </t></si>";
    const QByteArray sheet
            = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c></row>"
              // Cells without a reference follow the one before; style 1 is a
              // custom date format, style 2 the built-in 14.
              "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>32874</v></c><c t=\"str\"><f>A1</f><v>x</v></c></row>"
              "<row><c s=\"2\"><v>60</v></c><c><v>2.5</v></c></row>"
              "<row r=\"7\"><c r=\"C7\" t=\"d\"><v>1999-09-09T00:00:00</v></c>"
              "<c r=\"D7\" s=\"2\"><v>61.75</v></c><c r=\"E7\" t=\"s\"><v>99</v></c></row>";
    const MemberSheet s = firstSheet(zortest::zipOf(zortest::workbookParts(sheet, shared)));
    QCOMPARE(s.name, QStringLiteral("Liste"));
    QCOMPARE(s.rows.size(), 4);
    QCOMPARE(s.rows[0].cell(0).text, QStringLiteral("Geburtsdatum"));
    QCOMPARE(s.rows[0].cell(1).text, QStringLiteral(" Name "));
    QCOMPARE(s.rows[1].number, 3);
    QCOMPARE(s.rows[1].cell(0).kind, ListCell::Date);
    QCOMPARE(s.rows[1].cell(0).date, QDate(1990, 1, 1));
    QCOMPARE(s.rows[1].cell(1).text, QStringLiteral("x"));
    QCOMPARE(s.rows[2].number, 4);
    // Serial 60 is the 29 February 1900 that never was: a number, not a date.
    QCOMPARE(s.rows[2].cell(0).kind, ListCell::Number);
    QCOMPARE(s.rows[2].cell(1).number, 2.5);
    QCOMPARE(s.rows[3].number, 7);
    QCOMPARE(s.rows[3].cell(2).date, QDate(1999, 9, 9));
    QCOMPARE(s.rows[3].cell(3).date, QDate(1900, 3, 1));
    QCOMPARE(s.rows[3].cell(4).kind, ListCell::Empty); // a shared string that is not there

    QCOMPARE(dateFromSerial(1, false), QDate(1900, 1, 1));
    QCOMPARE(dateFromSerial(59, false), QDate(1900, 2, 28));
    QCOMPARE(dateFromSerial(0, true), QDate());
    QCOMPARE(dateFromSerial(1, true), QDate(1904, 1, 2));
    QCOMPARE(dateFromSerial(45658, false), QDate(2025, 1, 1));
    QCOMPARE(dateFromSerial(1e300, false), QDate());
}

QTEST_GUILESS_MAIN(TstBadMemberLists)
#include "tst_badmemberlists.moc"
