// Member lists written by independent tools (openpyxl, libxlsxwriter, odfpy,
// pandas, Python's csv module as Excel and others write CSV): each must give
// the same counts, rows not counted and masters for the one list they all
// hold (tests/import/data/members.py). And a German club's list as
// LibreOffice writes it, with a title above the header, its CSV with
// two-digit years, hidden rows and columns (tests/import/data/members_de.py).

#include "import/csvreader.h"
#include "import/membercount.h"
#include "import/memberlistfile.h"
#include "import/memberlistloader.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace zor;

namespace {

QString dataFile(const char *name)
{
    return QStringLiteral(ZOR_IMPORT_DATA "/") + QLatin1StringView(name);
}

MemberBook readBook(const QString &path)
{
    Result<MemberBook> read = readMemberListFile(path);
    if (!read)
        qFatal("%s: %s", qPrintable(path), qPrintable(read.reason()));
    return std::move(read).value();
}

const QDate referenceDay(2027, 1, 1);
const QDate today(2026, 12, 9);
const CountRules rules{referenceDay, today, OtherSex::NotCounted};

// The notes as "row text", to compare a whole list at once.
QStringList notes(const QList<RowNote> &list)
{
    QStringList out;
    for (const RowNote &n : list)
        out << QStringLiteral("%1 %2").arg(n.row).arg(n.text);
    return out;
}

} // namespace

class TstMemberLists : public QObject
{
    Q_OBJECT

private slots:
    void everyWriterGivesTheSameCounts_data();
    void everyWriterGivesTheSameCounts();
    void aGermanClubsListAsLibreOfficeWritesIt_data();
    void aGermanClubsListAsLibreOfficeWritesIt();
    void formulasWithoutValuesAndHiddenRowsAreTold();
    void filesThatSpreadsheetProgramsOpenAreRead();
    void csvDialectsAreFoundOut_data();
    void csvDialectsAreFoundOut();
    void csvBytesAsWritersPutThem_data();
    void csvBytesAsWritersPutThem();
    void quotedCsvFieldsKeepSeparatorsQuotesAndLineBreaks();
    void xlsxWithSeveralSheetsKeepsThemAllInOrder();
    void odsRepeatedEmptyRowsAndColumnsAreNotKept();
    void readersAreLoadedFromTheirPlugin_data();
    void readersAreLoadedFromTheirPlugin();
};

void TstMemberLists::everyWriterGivesTheSameCounts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("ayseTaken"); // the CSV in Windows-1252 holds "Ayse"
    QTest::addColumn<int>("offset");     // columns before the surname
    QTest::addColumn<bool>("kyu");       // the "5. Kyu" is in the grade column
    QTest::newRow("openpyxl, inline strings, absolute part names")
            << dataFile("openpyxl.xlsx") << false << 0 << true;
    QTest::newRow("openpyxl, 1904 date system")
            << dataFile("openpyxl-1904.xlsx") << false << 0 << true;
    QTest::newRow("libxlsxwriter, shared strings, relative part names")
            << dataFile("xlsxwriter.xlsx") << false << 0 << true;
    QTest::newRow("libxlsxwriter, constant memory, inline strings")
            << dataFile("xlsxwriter-constant-memory.xlsx") << false << 0 << true;
    QTest::newRow("odfpy, office:date-value") << dataFile("odfpy.ods") << false << 0 << true;
    QTest::newRow("CSV UTF-8 with BOM, semicolons")
            << dataFile("excel-utf8-bom.csv") << false << 0 << true;
    QTest::newRow("CSV Windows-1252, semicolons")
            << dataFile("excel-windows1252.csv") << true << 0 << true;
    QTest::newRow("CSV UTF-8, commas, ISO dates")
            << dataFile("comma-utf8.csv") << false << 0 << true;
    QTest::newRow("tab-separated text") << dataFile("tab-utf8.txt") << false << 0 << true;
    // The index first, grades as "3.0" and "10.0", dates as yyyy-mm-dd.
    QTest::newRow("pandas to_csv") << dataFile("pandas.csv") << false << 1 << false;
}

void TstMemberLists::everyWriterGivesTheSameCounts()
{
    QFETCH(QString, file);
    QFETCH(bool, ayseTaken);
    QFETCH(int, offset);
    QFETCH(bool, kyu);
    const MemberBook book = readBook(file);
    QVERIFY(!book.sheets.isEmpty());
    const MemberSheet &sheet = book.sheets.first();
    QCOMPARE(sheet.rows.size(), 15);

    const ColumnChoice columns = recognizeLayout(sheet, referenceDay);
    QCOMPARE(columns.header, 0);
    QCOMPARE(columns[ListColumn::Surname], offset + 0);
    QCOMPARE(columns[ListColumn::FirstName], offset + 1);
    QCOMPARE(columns[ListColumn::Sex], offset + 2);
    QCOMPARE(columns[ListColumn::BirthDate], offset + 3);
    QCOMPARE(columns[ListColumn::Grade], offset + 4);

    const CountResult r = countMembers(sheet, columns, rules);
    MemberCounts expected{};
    expected[0][Men] = 1;   // Klein, one day short of 7
    expected[1][Women] = 1; // Schäfer, 7 on the reference day
    expected[2][Women] = 1; // Groß, born 29 February 2008
    expected[3][Men] = 1;   // Weiß
    expected[4][Women] = 1; // Öztürk
    expected[4][Men] = 1;   // Koch, date as text
    expected[5][Women] = 1; // Fischer
    expected[6][Men] = 3;   // Müller, Becker (61), Schmidt
    QCOMPARE(r.counts, expected);
    QCOMPARE(r.members, 14);
    QCOMPARE(r.counted, 10);

    QCOMPARE(notes(r.notCounted),
             QStringList({QStringLiteral("9 Geschlecht \u201edivers\u201c, weder m\u00e4nnlich "
                                         "noch weiblich"),
                          QStringLiteral("10 Geschlecht nicht angegeben, weder m\u00e4nnlich "
                                         "noch weiblich"),
                          QStringLiteral("11 Geburtsdatum fehlt"),
                          QStringLiteral("12 geboren am 01.03.2027: Das Datum liegt in der "
                                         "Zukunft, wohl ein Tippfehler")}));
    QVERIFY(r.toCheck.isEmpty());
    QCOMPARE(r.otherSex.size(), 2);

    QStringList masters = {QStringLiteral("M\u00fcller;J\u00fcrgen;3"),
                           QStringLiteral("Gro\u00df;Lena;1")};
    if (ayseTaken)
        masters << QStringLiteral("\u00d6zt\u00fcrk;Ayse;2");
    masters << QStringLiteral("Fischer;Ida;10");
    QCOMPARE(r.masters, masters);
    QList<int> notTaken;
    for (const RowNote &n : r.mastersNotTaken)
        notTaken << n.row;
    QList<int> expectedNotTaken = ayseTaken ? QList<int>{} : QList<int>{7};
    if (kyu)
        expectedNotTaken << 13;
    QCOMPARE(notTaken, expectedNotTaken);
}

void TstMemberLists::aGermanClubsListAsLibreOfficeWritesIt_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("twoDigitYears");
    QTest::addColumn<bool>("hidden"); // Becker's row and the "Eintritt" column
    QTest::newRow("the German CSV typed by hand, a title with a comma above")
            << dataFile("handgemacht-titel.csv") << false << false;
    QTest::newRow("LibreOffice .xlsx") << dataFile("libreoffice-de.xlsx") << false << false;
    QTest::newRow("LibreOffice .ods") << dataFile("libreoffice-de.ods") << false << false;
    QTest::newRow("LibreOffice CSV, DD.MM.YY") << dataFile("libreoffice-de.csv") << true << false;
    QTest::newRow("LibreOffice .xlsx, title merged, row and column hidden")
            << dataFile("libreoffice-titel-ausgeblendet.xlsx") << false << true;
    QTest::newRow("LibreOffice .ods, title merged, row and column hidden")
            << dataFile("libreoffice-titel-ausgeblendet.ods") << false << true;
}

void TstMemberLists::aGermanClubsListAsLibreOfficeWritesIt()
{
    QFETCH(QString, file);
    QFETCH(bool, twoDigitYears);
    QFETCH(bool, hidden);
    const MemberBook book = readBook(file);
    const Result<FirstCount> first = countFirstSheet(book, rules);
    QVERIFY2(first, qPrintable(first.reason()));
    const MemberSheet &sheet = book.sheets[first->sheet];
    // Title, empty row, header: the members start in row 4.
    QCOMPARE(sheet.rows[first->columns.header].number, 3);
    QCOMPARE(first->columns.index, (std::array<int, ListColumnCount>{4, 3, 1, 2, 5}));
    QCOMPARE(sheet.hiddenColumns, hidden ? QList<int>{6} : QList<int>{});

    const CountResult &r = first->result;
    QCOMPARE(r.members, 15);
    QCOMPARE(r.hiddenRows, hidden ? 1 : 0);
    MemberCounts expected{};
    expected[0][Men] = 1;   // Klein, one day short of 7
    expected[0][Women] = 1; // Jung, 2
    expected[1][Women] = 1; // Schäfer, 7 on the reference day
    expected[2][Women] = 1; // Groß, born 29 February 2008
    expected[3][Men] = 1;   // Weiß
    expected[4][Women] = 1; // Öztürk
    expected[5][Women] = 2; // Hoffmann, Fischer
    expected[6][Men] = 4;   // Müller, Becker (hidden or not), Schmidt, Alt (101)
    if (twoDigitYears) {
        // "01.05.25" is read as 2025: counted as a baby, but shown for checking.
        expected[6][Men] = 3;
        expected[0][Men] = 2;
    }
    QCOMPARE(r.counts, expected);
    QCOMPARE(r.counted, 12);
    QCOMPARE(notes(r.notCounted),
             QStringList({QStringLiteral("11 Geschlecht \u201ed\u201c, weder m\u00e4nnlich noch "
                                         "weiblich"),
                          QStringLiteral("13 Geburtsdatum fehlt"),
                          QStringLiteral("14 geboren am 20.12.2026: Das Datum liegt in der "
                                         "Zukunft, wohl ein Tippfehler")}));
    QCOMPARE(notes(r.toCheck),
             twoDigitYears
                     ? QStringList({QStringLiteral("17 \u201e01.05.25\u201c gelesen als "
                                                   "01.05.2025 (1 Jahr alt), gez\u00e4hlt; oder "
                                                   "war 01.05.1925 gemeint (101 Jahre alt)?"),
                                    QStringLiteral("18 \u201e03.03.24\u201c gelesen als "
                                                   "03.03.2024 (2 Jahre alt), gez\u00e4hlt; oder "
                                                   "war 03.03.1924 gemeint (102 Jahre alt)?")})
                     : QStringList());
    QCOMPARE(r.masters,
             (QStringList{QStringLiteral("M\u00fcller;J\u00fcrgen;3"),
                          QStringLiteral("Gro\u00df;Lena;1"), QStringLiteral("Schmidt;Karl;5"),
                          QStringLiteral("Fischer;Ida;10")}));
    QCOMPARE(r.mastersNotTaken.size(), 1); // Öztürk's ş
    QCOMPARE(r.mastersNotTaken.first().row, 9);
}

void TstMemberLists::formulasWithoutValuesAndHiddenRowsAreTold()
{
    const MemberBook book = readBook(dataFile("openpyxl-formeln.xlsx"));
    const MemberSheet &sheet = book.sheets.first();
    QCOMPARE(sheet.hiddenColumns, QList<int>{5});
    QVERIFY(sheet.rows[5].hidden);

    const CountResult r = countFirstSheet(book, rules)->result;
    QCOMPARE(r.members, 5);
    QCOMPARE(r.hiddenRows, 1);
    QCOMPARE(r.counted, 3); // Müller, Groß, and Becker in the hidden row
    QCOMPARE(notes(r.notCounted),
             (QStringList{QStringLiteral("3 Geburtsdatum: Formel ohne gespeicherten Wert"),
                          QStringLiteral("4 Geschlecht: Formel ohne gespeicherten Wert, weder "
                                         "m\u00e4nnlich noch weiblich")}));
    QCOMPARE(r.masters, QStringList{QStringLiteral("M\u00fcller;J\u00fcrgen;3")});
    QCOMPARE(notes(r.mastersNotTaken),
             QStringList{QStringLiteral("5 Dan-Grad: Formel ohne gespeicherten Wert")});
}

void TstMemberLists::filesThatSpreadsheetProgramsOpenAreRead()
{
    // R's openxlsx names a shared-strings part it never wrote; LibreOffice
    // opens such files, and so does this program.
    const MemberBook book = readBook(dataFile("openxlsx-cloneWorksheetExample.xlsx"));
    QCOMPARE(book.sheets.size(), 2);
    QCOMPARE(book.sheets[0].name, QStringLiteral("Sheet 1"));
    QCOMPARE(book.sheets[0].rows.size(), 1);
    QCOMPARE(book.sheets[0].rows[0].cell(0).kind, ListCell::Number);
    QCOMPARE(book.sheets[0].rows[0].cell(0).number, 1.0);
    // Its twin holds no cell at all: it is empty, not damaged.
    const Result<MemberBook> empty = readMemberListFile(
            dataFile("openxlsx-cloneEmptyWorksheetExample.xlsx"));
    QVERIFY(!empty);
    QVERIFY2(empty.reason().contains(QStringLiteral("leer")), qPrintable(empty.reason()));
}

void TstMemberLists::csvDialectsAreFoundOut_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<char>("separator");
    QTest::newRow("bom") << dataFile("excel-utf8-bom.csv") << int(CsvDialect::Utf8) << ';';
    QTest::newRow("1252") << dataFile("excel-windows1252.csv") << int(CsvDialect::Windows1252)
                          << ';';
    QTest::newRow("comma") << dataFile("comma-utf8.csv") << int(CsvDialect::Utf8) << ',';
    QTest::newRow("tab") << dataFile("tab-utf8.txt") << int(CsvDialect::Utf8) << '\t';
    QTest::newRow("pandas") << dataFile("pandas.csv") << int(CsvDialect::Utf8) << ',';
    QTest::newRow("a title with a comma above")
            << dataFile("handgemacht-titel.csv") << int(CsvDialect::Utf8) << ';';
    QTest::newRow("LibreOffice") << dataFile("libreoffice-de.csv") << int(CsvDialect::Utf8) << ';';
}

void TstMemberLists::csvDialectsAreFoundOut()
{
    QFETCH(QString, file);
    QFETCH(int, encoding);
    QFETCH(char, separator);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Result<CsvRead> read = readCsv(f.readAll());
    QVERIFY(read);
    QCOMPARE(int(read->dialect.encoding), encoding);
    QCOMPARE(read->dialect.separator, separator);
    // The umlauts came through whatever the encoding.
    const MemberSheet &sheet = read->sheet;
    const ColumnChoice columns = recognizeLayout(sheet, referenceDay);
    QCOMPARE(sheet.rows[columns.header + 1].cell(columns[ListColumn::Surname]).text,
             QStringLiteral("M\u00fcller"));
}

void TstMemberLists::csvBytesAsWritersPutThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("cell"); // the second row's first cell
    // Separators inside quoted headings do not count.
    QTest::newRow("semicolons quoted in a comma header")
            << QByteArray("\"Name; Vorname\",\"Geb.; Datum\",X\r\na,b,c\r\n") << ',' << "a";
    QTest::newRow("commas quoted in a semicolon header")
            << QByteArray("\"Name, Vorname\";\"a,b,c\"\r\nx;y\r\n") << ';' << "x";
    QTest::newRow("a quoted line break in the header")
            << QByteArray("\"Name,\n,Vorname\";B\r\nx;y\r\n") << ';' << "x";
    // Windows-1252, not Latin-1: the bytes 0x80 to 0x9F are letters and signs.
    QTest::newRow("Windows-1252 letters")
            << QByteArray("Name;Vorname\r\n\x8Aimi\x9C;\x80 \x84x\x93\r\n") << ';'
            << QString::fromUtf8("\u0160imi\u0153");
    QTest::newRow("Windows-1252 umlauts")
            << QByteArray("Name\r\nM\xFCller\r\n") << ';' << QString::fromUtf8("M\u00fcller");
}

void TstMemberLists::csvBytesAsWritersPutThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(QString, cell);
    const Result<CsvRead> read = readCsv(bytes);
    QVERIFY(read);
    QCOMPARE(read->dialect.separator, separator);
    QCOMPARE(read->sheet.rows[1].cell(0).text, cell);
    if (QTest::currentDataTag() == QByteArrayView("Windows-1252 letters")) {
        QCOMPARE(int(read->dialect.encoding), int(CsvDialect::Windows1252));
        QCOMPARE(read->sheet.rows[1].cell(1).text, QStringLiteral("\u20ac \u201ex\u201c"));
    }
}

void TstMemberLists::quotedCsvFieldsKeepSeparatorsQuotesAndLineBreaks()
{
    for (const char *name : {"excel-windows1252.csv", "comma-utf8.csv"}) {
        const MemberSheet sheet = readBook(dataFile(name)).sheets.first();
        QCOMPARE(sheet.rows[1].cell(5).text,
                 QStringLiteral("Trainer; \"Jugend\", Zeile 1\nZeile 2"));
        // The record after one with a line break in it is still the next row.
        QCOMPARE(sheet.rows[2].number, 3);
        QCOMPARE(sheet.rows[2].cell(0).text, QStringLiteral("Sch\u00e4fer"));
    }
    // Hand-written: a blank before a quoted field, a doubled quote, CR only line ends.
    const Result<CsvRead> read = readCsv("Name;Vorname\r\"a;b\";\"x\"\"y\"\r");
    QVERIFY(read);
    const MemberSheet &s = read->sheet;
    QCOMPARE(s.rows.size(), 2);
    QCOMPARE(s.rows[1].cell(0).text, QStringLiteral("a;b"));
    QCOMPARE(s.rows[1].cell(1).text, QStringLiteral("x\"y"));
    // Excel's "sep=" line names the separator and is no row.
    const Result<CsvRead> withSep = readCsv("sep=,\r\nName;X,Geburtsdatum\r\nA;B,1.1.2000\r\n");
    QVERIFY(withSep);
    const MemberSheet &s2 = withSep->sheet;
    QCOMPARE(s2.rows[0].cell(0).text, QStringLiteral("Name;X"));
    QCOMPARE(s2.rows[0].cell(1).text, QStringLiteral("Geburtsdatum"));
}

void TstMemberLists::xlsxWithSeveralSheetsKeepsThemAllInOrder()
{
    const MemberBook book = readBook(dataFile("openpyxl-1904.xlsx"));
    QCOMPARE(book.sheets.size(), 2);
    QCOMPARE(book.sheets[0].name, QStringLiteral("Mitglieder"));
    QCOMPARE(book.sheets[1].name, QStringLiteral("Notizen"));
    QCOMPARE(book.sheets[1].rows.first().cell(1).text, QStringLiteral("Dezember"));
    // The 1904 serials came back as the same days as the 1900 ones.
    const MemberBook plain = readBook(dataFile("openpyxl.xlsx"));
    for (int i = 1; i < 15; ++i) {
        QCOMPARE(book.sheets[0].rows[i].cell(3).kind, plain.sheets[0].rows[i].cell(3).kind);
        QCOMPARE(book.sheets[0].rows[i].cell(3).date, plain.sheets[0].rows[i].cell(3).date);
    }
    QCOMPARE(plain.sheets[0].rows[1].cell(3).date, QDate(1960, 3, 15));
    QCOMPARE(plain.sheets[0].rows[1].cell(4).kind, ListCell::Number);
}

void TstMemberLists::odsRepeatedEmptyRowsAndColumnsAreNotKept()
{
    const MemberSheet sheet = readBook(dataFile("odfpy.ods")).sheets.first();
    QCOMPARE(sheet.name, QStringLiteral("Mitglieder"));
    QCOMPARE(sheet.rows.size(), 15);
    QCOMPARE(sheet.columnCount(), 5);
    QCOMPARE(sheet.rows[4].cell(3).kind, ListCell::Date);
    QCOMPARE(sheet.rows[4].cell(3).date, QDate(2008, 2, 29));
}

// The program reads member lists through the readers' plugin; what it finds
// in the folders it looks in decides between the same book as the readers
// give and a German reason at the import.
void TstMemberLists::readersAreLoadedFromTheirPlugin_data()
{
    QTest::addColumn<QString>("inFirstFolder"); // what stands under the plugin's name there
    QTest::addColumn<bool>("builtInSecond");    // the second folder is the build's
    QTest::addColumn<QString>("reason");        // empty: the list is read
    const QString none;
    QTest::newRow("the build's plugin") << none << true << none;
    QTest::newRow("none in the first folder, the build's in the second") << none << true << none;
    QTest::newRow("found nowhere")
            << none << false << QStringLiteral("weil ein Teil des Programms fehlt");
    QTest::newRow("a damaged file")
            << QStringLiteral("damaged") << true
            << QStringLiteral("weil sich ein Teil des Programms nicht laden l\u00e4sst");
    QTest::newRow("another program's plugin")
            << QStringLiteral("qt-plugin") << true
            << QStringLiteral("weil ein Teil des Programms nicht zu dieser Version von "
                              "ZOR-Quorvane passt");
}

void TstMemberLists::readersAreLoadedFromTheirPlugin()
{
    QFETCH(QString, inFirstFolder);
    QFETCH(bool, builtInSecond);
    QFETCH(QString, reason);
    QTemporaryDir first, empty;
    const QString planted = QDir(first.path()).filePath(memberListPluginName());
    if (inFirstFolder == QLatin1String("damaged")) {
        QFile f(planted);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x7f"
                "ELF cut short");
    } else if (inFirstFolder == QLatin1String("qt-plugin")) {
        const QString gif = QLibraryInfo::path(QLibraryInfo::PluginsPath)
                            + QStringLiteral("/imageformats/libqgif.so");
        if (!QFile::exists(gif))
            QSKIP("no Qt image plugin to stand in for a foreign plugin");
        QVERIFY(QFile::copy(gif, planted));
    }
    const QString csv = dataFile("excel-utf8-bom.csv");
    if (QTest::currentDataTag() == QLatin1String("the build's plugin"))
        setMemberListPluginFolders({QStringLiteral(ZOR_PLUGIN_BUILD_DIR)});
    else
        setMemberListPluginFolders({first.path(), builtInSecond
                                                          ? QStringLiteral(ZOR_PLUGIN_BUILD_DIR)
                                                          : empty.path()});
    const Result<MemberBook> viaPlugin = readMemberListFileViaPlugin(csv);
    // A file the readers refuse is refused with their reason.
    const QString missing = QDir(first.path()).filePath(QStringLiteral("keine.csv"));
    const QString refused = readMemberListFileViaPlugin(missing).reason();
    setMemberListPluginFolders({});

    if (reason.isEmpty()) {
        QVERIFY2(viaPlugin, qPrintable(viaPlugin.reason()));
        const MemberBook direct = readBook(csv);
        QCOMPARE(viaPlugin->sheets.size(), direct.sheets.size());
        const MemberSheet &a = viaPlugin->sheets.constFirst(), &b = direct.sheets.constFirst();
        QCOMPARE(a.rows.size(), b.rows.size());
        for (int r = 0; r < a.rows.size(); ++r) {
            QCOMPARE(a.rows.at(r).number, b.rows.at(r).number);
            for (int c = 0; c < b.columnCount(); ++c)
                QCOMPARE(a.rows.at(r).cell(c).display(), b.rows.at(r).cell(c).display());
        }
        QCOMPARE(refused, readMemberListFile(missing).reason());
        return;
    }
    QVERIFY(!viaPlugin);
    QVERIFY2(
            viaPlugin.reason().startsWith(
                    QStringLiteral("Mitgliederlisten k\u00f6nnen nicht gelesen werden, ") + reason),
            qPrintable(viaPlugin.reason()));
    QVERIFY2(viaPlugin.reason().endsWith(
                     QStringLiteral("Bitte installieren Sie ZOR-Quorvane noch einmal.")),
             qPrintable(viaPlugin.reason()));
    // The user, or whoever helps, learns which file is missing and where it was looked for.
    QVERIFY2(
            viaPlugin.reason().contains(inFirstFolder.isEmpty() ? memberListPluginName() : planted),
            qPrintable(viaPlugin.reason()));
    if (inFirstFolder.isEmpty())
        QVERIFY2(viaPlugin.reason().contains(first.path())
                         && viaPlugin.reason().contains(empty.path()),
                 qPrintable(viaPlugin.reason()));
}

QTEST_GUILESS_MAIN(TstMemberLists)
#include "tst_memberlists.moc"
