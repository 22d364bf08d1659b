// The report file's bytes: writer, reader and the completeness check, without a window.

#include "core/cp1252.h"
#include "core/intconv.h"
#include "reportfile/completenesscheck.h"
#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"
#include "tests/support/cutoffdevice.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

using namespace zor;

namespace {

Report workedExample()
{
    Report r = Report::fresh();
    r.text(Field::Vereinsname) = QStringLiteral("Sportverein Beispielhausen");
    r.text(Field::Nummer) = QStringLiteral("0042");
    r.text(Field::Code) = QStringLiteral("xK7q");
    r.text(Field::AVName) = QStringLiteral("Hanna");
    r.text(Field::ANName) = QStringLiteral("Muster");
    r.text(Field::Strasse) = QStringLiteral("Hauptstr. 1");
    r.text(Field::Plz) = QStringLiteral("12345");
    r.text(Field::Ort) = QStringLiteral("Beispielhausen");
    r.text(Field::Tel) = QStringLiteral("0123 45678");
    for (Field f :
         {Field::Fax, Field::Email, Field::DName, Field::DStrasse, Field::DOrt, Field::WebAdresse})
        r.text(f) = QStringLiteral("-");
    r.text(Field::DPlz) = QStringLiteral("12346");
    r.counts[3] = {QStringLiteral("3"), QStringLiteral("2")};
    r.counts[6] = {QStringLiteral("5"), QStringLiteral("0")};
    r.masters = {QStringLiteral("Abc;De;3")};
    return r;
}

const QByteArray workedExampleBytes
        = "Sportverein Beispielhausen\r\n0042\r\nxK7q\r\nHanna\r\nMuster\r\n"
          "Hauptstr. 1\r\n12345\r\nBeispielhausen\r\n0123 45678\r\n"
          "-\r\n-\r\n-\r\n-\r\n12346\r\n-\r\n-\r\n"
          "6 0 0\r\n14 0 0\r\n18 0 0\r\n26 3 2\r\n40 0 0\r\n60 0 0\r\n500 5 0\r\n"
          "Abc;De;3\r\n";

QByteArray fileWithMembers(const QList<QByteArray> &memberLines, const QList<QByteArray> &tail = {})
{
    QList<QByteArray> lines;
    for (int i = 0; i < FieldCount; ++i)
        lines << "t" + QByteArray::number(i + 1);
    lines << memberLines << tail;
    return zortest::crlfLines(lines);
}

ReportTexts completeTexts()
{
    return workedExample().texts;
}

} // namespace

class TstReportFormat : public QObject
{
    Q_OBJECT

private slots:
    void cp1252_everyByteIsTheCharacterWindowsShows();
    void writer_workedExample_isByteExact();
    void writer_umlautsAndMasters_giveOneLinePerMaster();
    void writer_refusesValuesThatWouldBreakTheLayout();
    void writer_shortDeviceWrite_fails();
    void roundTrip_programWrittenFile_readsBackAndWritesSameBytes();
    void roundTrip_everyHighByte();
    void reader_lineEndsAndEndOfFileByte();
    void reader_emptyLinesAmongMastersAreSkipped();
    void reader_fewerThanSixteenLines();
    void reader_memberLines_data();
    void reader_memberLines();
    void reader_longLinesAndOddBytes();
    void reader_randomBytes_neverFail();
    void check_newReport_listsElevenLines();
    void check_completeReport_passesAndFillsOptionalFields();
    void check_lengthBoundaries_data();
    void check_lengthBoundaries();
    void check_trimsOnlyBlanksAndControls();
    void check_postcodes_andMemberTotal();
};

void TstReportFormat::writer_workedExample_isByteExact()
{
    const Result<QByteArray> written = encodeReport(workedExample());
    QVERIFY2(written, qPrintable(written.reason()));
    QCOMPARE(*written, workedExampleBytes);
}

void TstReportFormat::writer_umlautsAndMasters_giveOneLinePerMaster()
{
    for (const int n : {0, 1, 5}) {
        Report r = workedExample();
        r.text(Field::Ort) = QStringLiteral("M\u00fcnchen-S\u00fcd");
        r.masters.clear();
        for (int i = 0; i < n; ++i)
            r.masters << QStringLiteral("B\u00e4r%1;J\u00fcrgen;%2").arg(i).arg(i + 1);
        const QByteArray bytes = encodeReport(r).value();
        QCOMPARE(bytes.count("\r\n"), 23 + n);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), 23 + n); // no LF without its CR
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines[7], QByteArray("M\xFCnchen-S\xFC"
                                      "d\r"));
        if (n > 0)
            QCOMPARE(lines[23 + n - 1], QByteArray("B\xE4r") + QByteArray::number(n - 1)
                                                + ";J\xFCrgen;" + QByteArray::number(n) + "\r");
    }
}

void TstReportFormat::writer_refusesValuesThatWouldBreakTheLayout()
{
    const struct
    {
        Field f;
        QString value;
    } cases[] = {{Field::Ort, QStringLiteral("a\nb")},
                 {Field::Tel, QStringLiteral("123\r45678")},
                 {Field::Code, QStringLiteral("x\x1Ay")},
                 {Field::DName, QStringLiteral("Halle \u4e2d")}};
    for (const auto &c : cases) {
        Report r = workedExample();
        r.text(c.f) = c.value;
        const Result<QByteArray> refused = encodeReport(r);
        QVERIFY(!refused);
        QVERIFY(!refused.reason().isEmpty());
    }
    Report r = workedExample();
    r.masters << QStringLiteral("a;b\nc;1");
    QVERIFY(!encodeReport(r));
}

void TstReportFormat::writer_shortDeviceWrite_fails()
{
    // A new file on a disk that fills up after any byte is refused, and
    // nothing of it is left behind.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("neu.zor"));
    const qint64 size = workedExampleBytes.size();
    zortest::FillingDisk disk;
    for (disk.limit = 0; disk.limit < size; ++disk.limit) {
        const SaveResult written = saveReport(path, workedExample());
        QVERIFY2(!written, qPrintable(QString::number(disk.limit)));
        QVERIFY(!written.reason().isEmpty());
        QVERIFY2(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 qPrintable(QString::number(disk.limit)));
    }
    disk.limit = size;
    QVERIFY(saveReport(path, workedExample()));
    QCOMPARE(zortest::readAll(path), workedExampleBytes);
}

void TstReportFormat::roundTrip_programWrittenFile_readsBackAndWritesSameBytes()
{
    Report r = workedExample();
    r.text(Field::Vereinsname) = QStringLiteral("Judo-Club K\u00f6ln-S\u00fcd \u20ac\u00a0e.V.");
    r.counts[0] = {QStringLiteral("2147483647"), QStringLiteral("12")};
    r.masters = {QStringLiteral("A;b;1"), QStringLiteral("\u00c4rger;Z\u00f6e;10")};
    const QByteArray bytes = encodeReport(r).value();

    ReportAsRead read = readReport(bytes);
    QCOMPARE(read.report, r);
    QCOMPARE(read.lineCount, 25);
    QVERIFY(read.unreadableLines.isEmpty());
    QVERIFY(!read.endedEarly());
    QCOMPARE(encodeReport(read.report).value(), bytes);
}

void TstReportFormat::roundTrip_everyHighByte()
{
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high.append(char(b));
    QList<QByteArray> lines;
    for (int i = 0; i < FieldCount; ++i)
        lines << (i == 4 ? high : QByteArray("x"));
    lines << "6 0 0"
          << "14 0 0"
          << "18 0 0"
          << "26 0 0"
          << "40 0 0"
          << "60 0 0"
          << "500 1 0" << high;
    const QByteArray bytes = zortest::crlfLines(lines);
    const ReportAsRead read = readReport(bytes);
    QCOMPARE(read.report.texts[4].size(), 128);
    QCOMPARE(read.report.masters, QStringList{read.report.texts[4]});
    QCOMPARE(encodeReport(read.report).value(), bytes);
}

void TstReportFormat::reader_lineEndsAndEndOfFileByte()
{
    QByteArray lfOnly = workedExampleBytes;
    lfOnly.replace("\r\n", "\n");
    QCOMPARE(readReport(lfOnly).report, workedExample());

    // Stray CRs vanish wherever they stand; the last line needs no line end.
    QByteArray odd = workedExampleBytes;
    odd.replace("Hanna\r\n", "Ha\rnna\r\r\n");
    odd.chop(2);
    QCOMPARE(readReport(odd).report, workedExample());

    // 0x1A ends the file, even in the middle of a line.
    QByteArray eof = workedExampleBytes;
    eof.replace("Abc;De;3\r\n", "Abc;De;3\x1A"
                                "ignored\r\nalso;ignored;1\r\n");
    ReportAsRead read = readReport(eof);
    QCOMPARE(read.report, workedExample());
    QCOMPARE(read.lineCount, 24);

    QByteArray early = workedExampleBytes;
    early.insert(early.indexOf("Hanna"), '\x1A');
    read = readReport(early);
    QCOMPARE(read.lineCount, 3);
    QCOMPARE(read.report.text(Field::Code), QStringLiteral("xK7q"));
    QVERIFY(read.report.text(Field::AVName).isEmpty());
    QVERIFY(read.endedEarly());
}

void TstReportFormat::reader_emptyLinesAmongMastersAreSkipped()
{
    const QByteArray bytes = fileWithMembers(
            {"6 0 0", "14 0 0", "18 0 0", "26 0 0", "40 0 0", "60 0 0", "500 1 0"},
            {"", "b;x;1", "", "", "A;y;2", ""});
    const ReportAsRead read = readReport(bytes);
    QCOMPARE(read.report.masters, (QStringList{QStringLiteral("b;x;1"), QStringLiteral("A;y;2")}));
    QVERIFY(read.unreadableLines.isEmpty());
}

void TstReportFormat::reader_fewerThanSixteenLines()
{
    const ReportAsRead read = readReport(zortest::crlfLines({"Verein", "0042", "", "Vor"}));
    QCOMPARE(read.lineCount, 4);
    QVERIFY(read.endedEarly());
    QCOMPARE(read.report.text(Field::Vereinsname), QStringLiteral("Verein"));
    QCOMPARE(read.report.text(Field::Nummer), QStringLiteral("0042"));
    QCOMPARE(read.report.text(Field::AVName), QStringLiteral("Vor"));
    for (int i = 4; i < FieldCount; ++i)
        QVERIFY(read.report.texts[i].isEmpty());
    for (const auto &row : read.report.counts)
        QCOMPARE(row, (std::array<QString, 2>{QStringLiteral("0"), QStringLiteral("0")}));
    QVERIFY(read.report.masters.isEmpty());
    // Missing lines are no garbled lines: the file simply ended.
    QVERIFY(read.unreadableLines.isEmpty());

    const ReportAsRead empty = readReport(QByteArray());
    QCOMPARE(empty.lineCount, 0);
    QVERIFY(empty.report.text(Field::Nummer).isEmpty());
}

void TstReportFormat::reader_memberLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("men");
    QTest::addColumn<QString>("women");
    QTest::addColumn<bool>("readable");
    QTest::newRow("as written") << QByteArray("26 3 2") << "3"
                                << "2" << true;
    QTest::newRow("other age bound") << QByteArray("27 3 2") << "3"
                                     << "2" << true;
    QTest::newRow("leading zeros") << QByteArray("26 07 0010") << "7"
                                   << "10" << true;
    QTest::newRow("tabs and double blanks") << QByteArray(" 26\t 3  2 ") << "3"
                                            << "2" << true;
    QTest::newRow("largest count") << QByteArray("26 2147483647 0") << "2147483647"
                                   << "0" << true;
    QTest::newRow("empty men cell") << QByteArray("26  2") << "0"
                                    << "2" << false;
    QTest::newRow("empty women cell") << QByteArray("26 3 ") << "3"
                                      << "0" << false;
    QTest::newRow("letter") << QByteArray("26 3x 2") << "0"
                            << "2" << false;
    QTest::newRow("beyond 32 bits") << QByteArray("26 2147483648 1") << "0"
                                    << "1" << false;
    QTest::newRow("garbled bound") << QByteArray("zz 3 2") << "3"
                                   << "2" << false;
    QTest::newRow("four numbers") << QByteArray("26 3 2 9") << "3"
                                  << "2" << false;
    QTest::newRow("empty line") << QByteArray("") << "0"
                                << "0" << false;
    QTest::newRow("umlauts") << QByteArray("\xe4\xf6\xfc") << "0"
                             << "0" << false;
}

void TstReportFormat::reader_memberLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, men);
    QFETCH(QString, women);
    QFETCH(bool, readable);
    // The line stands in the place of row 4 ("19 - 26 Jahre"), line 20 of the file.
    const ReportAsRead read = readReport(fileWithMembers(
            {"6 1 1", "14 1 1", "18 1 1", line, "40 1 1", "60 1 1", "500 1 1"}, {"M;N;1"}));
    QCOMPARE(read.report.counts[3][Men], men);
    QCOMPARE(read.report.counts[3][Women], women);
    QCOMPARE(read.unreadableLines, readable ? QList<int>{} : QList<int>{20});
    QCOMPARE(read.report.counts[2][Men], QStringLiteral("1"));
    QCOMPARE(read.report.counts[4][Women], QStringLiteral("1"));
    QCOMPARE(read.report.masters, QStringList{QStringLiteral("M;N;1")});
}

void TstReportFormat::reader_longLinesAndOddBytes()
{
    // A club name far beyond any fixed buffer keeps every byte and every later line.
    const QByteArray longName(3 * 1024 * 1024 + 7, 'n');
    QByteArray bytes = workedExampleBytes;
    bytes.replace("Sportverein Beispielhausen", longName);
    ReportAsRead read = readReport(bytes);
    QCOMPARE(read.report.text(Field::Vereinsname).size(), longName.size());
    Report expected = workedExample();
    expected.text(Field::Vereinsname) = QString::fromLatin1(longName);
    QCOMPARE(read.report, expected);

    // A NUL byte is just another character.
    read = readReport(QByteArray("a\0b\r\n", 5));
    QCOMPARE(read.report.text(Field::Vereinsname), QString::fromLatin1("a\0b", 3));

    read = readReport(QByteArray("x"));
    QCOMPARE(read.lineCount, 1);
    QCOMPARE(read.report.text(Field::Vereinsname), QStringLiteral("x"));
    read = readReport(QByteArray("\n"));
    QCOMPARE(read.lineCount, 1);
    read = readReport(QByteArray("\r"));
    QCOMPARE(read.lineCount, 0);
}

void TstReportFormat::reader_randomBytes_neverFail()
{
    QRandomGenerator rng(4711);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(int(rng.bounded(600)), Qt::Uninitialized);
        // Mostly text-like with many line ends, so every section is reached.
        for (char &c : bytes) {
            const quint32 r = rng.bounded(100);
            c = r < 15   ? '\n'
                : r < 20 ? '\r'
                : r < 40 ? ' '
                : r < 60 ? char('0' + rng.bounded(10))
                         : char(rng.bounded(256));
        }
        const ReportAsRead read = readReport(bytes);
        QVERIFY(read.lineCount <= bytes.count('\n') + 1);
        for (const auto &row : read.report.counts) {
            QVERIFY(parseInt32(row[Men]).has_value());
            QVERIFY(parseInt32(row[Women]).has_value());
        }
        for (const QString &m : read.report.masters)
            QVERIFY(!m.isEmpty());
        for (const int line : read.unreadableLines)
            QVERIFY(line >= 17 && line <= 23);
    }
}

void TstReportFormat::check_newReport_listsElevenLines()
{
    const Report fresh = Report::fresh();
    const CompletenessCheck r = checkCompleteness(fresh.texts, QStringLiteral("0"));
    QVERIFY(!r.passed());
    QCOMPARE(r.message,
             QString::fromUtf8(
                     "Unvollst\u00e4ndige oder falsche Eingabe in folgenden Feldern:\n"
                     "Vereinsname\nVereinsnummer\nCode\nVorname Ansprechpartner\n"
                     "Nachname Ansprechpartner\nStrasse Ansprechpartner\nPLZ Ansprechpartner\n"
                     "Ort Ansprechpartner\nTelefon Ansprechpartner\nSeite Web/Dojo: PLZ \n"
                     "Seite Mitglieder: Mitgliederzahl=0 \n"
                     "\n\n   Es kann noch nicht gespeichert werden !  \n\n"));
    QCOMPARE(r.failures.size(), 11);
    for (Field f :
         {Field::Fax, Field::Email, Field::DName, Field::DStrasse, Field::DOrt, Field::WebAdresse})
        QCOMPARE(r.texts[int(f)], QStringLiteral("-"));
    QVERIFY(r.texts[int(Field::DPlz)].isEmpty());
    QCOMPARE(r.texts[int(Field::Nummer)], QStringLiteral("0000"));
}

void TstReportFormat::check_completeReport_passesAndFillsOptionalFields()
{
    ReportTexts texts = completeTexts();
    for (Field f :
         {Field::Fax, Field::Email, Field::DName, Field::DStrasse, Field::DOrt, Field::WebAdresse})
        texts[int(f)] = QStringLiteral("  \t ");
    const CompletenessCheck r = checkCompleteness(texts, QStringLiteral("10"));
    QVERIFY2(r.passed(), qPrintable(r.message));
    QVERIFY(r.message.isEmpty());
    QCOMPARE(r.texts, completeTexts());

    // Only the telephone missing: the spelled-out message.
    texts = completeTexts();
    texts[int(Field::Tel)].clear();
    QCOMPARE(checkCompleteness(texts, QStringLiteral("10")).message,
             QString::fromUtf8(
                     "Unvollst\u00e4ndige oder falsche Eingabe in folgenden Feldern:\nTelefon "
                     "Ansprechpartner\n\n\n   Es kann noch nicht gespeichert werden !  \n\n"));
}

void TstReportFormat::check_lengthBoundaries_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("failure"); // the message's line; empty when it passes
    const int name = int(Field::Vereinsname), tel = int(Field::Tel), plz = int(Field::Plz),
              nummer = int(Field::Nummer);
    const QString nameLine = QStringLiteral("Vereinsname\n");
    const QString telLine = QStringLiteral("Telefon Ansprechpartner\n");
    const QString nummerLine = QStringLiteral("Vereinsnummer\n");
    QTest::newRow("club name 4") << name << "Judo" << nameLine;
    QTest::newRow("club name 5") << name << "Judos" << QString();
    QTest::newRow("club name 6 with blanks around") << name << "  JC Nord \t" << QString();
    QTest::newRow("club name 4 with blanks around") << name << "   JC N   " << nameLine;
    QTest::newRow("club name blanks only") << name << "        " << nameLine;
    QTest::newRow("telephone 7") << tel << "1234567" << telLine;
    QTest::newRow("telephone 8 with a blank inside") << tel << "0123 456" << QString();
    QTest::newRow("telephone 7 with blanks around") << tel << " 1234567  " << telLine;
    QTest::newRow("postcode 4") << plz << "1234" << QStringLiteral("PLZ Ansprechpartner\n");
    QTest::newRow("postcode 5") << plz << "12345" << QString();
    QTest::newRow("first name one letter") << int(Field::AVName) << "A" << QString();
    QTest::newRow("last name 1") << int(Field::ANName) << "M"
                                 << QStringLiteral("Nachname Ansprechpartner\n");
    QTest::newRow("street 3") << int(Field::Strasse) << "Weg" << QString();
    QTest::newRow("town 1") << int(Field::Ort) << "X" << QStringLiteral("Ort Ansprechpartner\n");
    QTest::newRow("code empty") << int(Field::Code) << "" << QStringLiteral("Code\n");
    // The club number: four digits, and "0000" is the new report's placeholder.
    QTest::newRow("club number 0000") << nummer << "0000" << nummerLine;
    QTest::newRow("club number 0001") << nummer << "0001" << QString();
    QTest::newRow("club number 9999") << nummer << "9999" << QString();
    QTest::newRow("club number half typed") << nummer << "12" << nummerLine;
    QTest::newRow("club number blank inside") << nummer << "12 4" << nummerLine;
    QTest::newRow("club number five digits") << nummer << "00042" << nummerLine;
    QTest::newRow("club number sign") << nummer << "+042" << nummerLine;
    QTest::newRow("club number negative") << nummer << "-042" << nummerLine;
    QTest::newRow("club number empty") << nummer << "" << nummerLine;
}

void TstReportFormat::check_lengthBoundaries()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, failure);
    ReportTexts texts = completeTexts();
    texts[field] = value;
    const CompletenessCheck r = checkCompleteness(texts, QStringLiteral("1"));
    QCOMPARE(r.passed(), failure.isEmpty());
    QCOMPARE(r.failures, failure.isEmpty() ? QStringList() : QStringList{failure});
    QCOMPARE(r.texts[field], trimControl(value));
}

void TstReportFormat::check_trimsOnlyBlanksAndControls()
{
    QCOMPARE(trimControl(QStringLiteral("\x01 \t ab c\r\n\x1F ")), QStringLiteral("ab c"));
    QCOMPARE(trimControl(QStringLiteral("\u00a0ab\u00a0")), QStringLiteral("\u00a0ab\u00a0"));
    QCOMPARE(trimControl(QStringLiteral("\u2003ab")), QStringLiteral("\u2003ab"));
    QCOMPARE(trimControl(QString::fromLatin1("\0a\0", 3)), QStringLiteral("a"));
    QCOMPARE(trimControl(QStringLiteral("   ")), QString());

    // A no-break space is content: a name of it and four letters is five long.
    ReportTexts texts = completeTexts();
    texts[int(Field::Vereinsname)] = QStringLiteral("\u00a0Judo ");
    const CompletenessCheck r = checkCompleteness(texts, QStringLiteral("1"));
    QVERIFY(r.passed());
    QCOMPARE(r.texts[int(Field::Vereinsname)], QStringLiteral("\u00a0Judo"));
}

void TstReportFormat::check_postcodes_andMemberTotal()
{
    ReportTexts texts = completeTexts();
    texts[int(Field::DPlz)] = QStringLiteral("1234");
    texts[int(Field::Plz)] = QStringLiteral("4321");
    CompletenessCheck r = checkCompleteness(texts, QStringLiteral("1"));
    QCOMPARE(r.failures, (QStringList{QStringLiteral("PLZ Ansprechpartner\n"),
                                      QStringLiteral("Seite Web/Dojo: PLZ \n")}));
    QVERIFY(r.texts[int(Field::DPlz)].isEmpty());
    QCOMPARE(r.texts[int(Field::Plz)], QStringLiteral("4321"));

    for (const char *total : {"0", "", "x", "-", "9223372036854775808", "1 "}) {
        r = checkCompleteness(completeTexts(), QString::fromLatin1(total));
        QCOMPARE(r.failures, QStringList{QStringLiteral("Seite Mitglieder: Mitgliederzahl=0 \n")});
    }
    QVERIFY(checkCompleteness(completeTexts(), QStringLiteral("-3")).passed());
    // A total beyond one count's range still vouches for members; 2^32 is not 0.
    for (const char *total : {"4294967296", "30064771058"})
        QVERIFY2(checkCompleteness(completeTexts(), QString::fromLatin1(total)).passed(), total);
}

// The 27 characters Windows-1252 puts at 0x80..0x9F, as a reader sees them;
// the five bytes without a character stay their own control code.
void TstReportFormat::cp1252_everyByteIsTheCharacterWindowsShows()
{
    const QString shown = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    const QList<uchar> undefined{0x81, 0x8D, 0x8F, 0x90, 0x9D};
    int next = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<uchar>(b);
        QChar expected(static_cast<char16_t>(b));
        if (b >= 0x80 && b < 0xA0 && !undefined.contains(byte))
            expected = shown.at(next++);
        const QByteArray one(1, static_cast<char>(byte));
        QCOMPARE(cp1252::decode(one), QString(expected));
        QVERIFY2(cp1252::canEncode(expected), qPrintable(QString::number(b, 16)));
        QCOMPARE(cp1252::toByte(expected), b);
    }
    QCOMPARE(next, shown.size());
    QVERIFY(!cp1252::canEncode(QChar(0x0100)));
    QVERIFY(!cp1252::canEncode(QChar(0x20AD)));
}

QTEST_GUILESS_MAIN(TstReportFormat)
#include "tst_reportformat.moc"
