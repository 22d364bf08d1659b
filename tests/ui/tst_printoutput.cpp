// The printout from the window: on a (stand-in) printer and as a PDF file,
// read back with poppler's tools.

#include "print/defaultprinter.h"
#include "print/printjob.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"
#include "tests/support/formfixture.h"
#include "tests/support/pdfreading.h"
#include "tests/support/samplereport.h"
#include "tests/support/testfiles.h"

#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using zortest::pdfText;
using zortest::Run;
using zortest::sampleReport;

namespace {

// A line of the PDF text with its runs of blanks made single.
bool hasLine(const QString &text, const QString &wanted)
{
    const QString w = wanted.simplified();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.simplified().contains(w))
            return true;
    return false;
}

bool isFixedPitch(const QString &family)
{
    return family.contains(QLatin1String("Mono")) || family.contains(QLatin1String("Courier"));
}

// A printer that writes into a PDF file, in place of the default printer;
// with no file, a desktop without any printer.
class PdfPrinter : public zor::DefaultPrinter
{
public:
    explicit PdfPrinter(const QString &out = QString(), const QPageSize &paper = QPageSize())
        : m_out(out)
        , m_paper(paper)
    { }
    int asked = 0;

    zor::Result<zor::cups::Printers> printers(const std::function<bool()> &) override
    {
        if (m_out.isEmpty())
            return zor::cups::Printers{};
        return zor::cups::Printers{{QStringLiteral("pdf")}, QStringLiteral("pdf")};
    }

    std::unique_ptr<QPrinter> printer(const QString &) override
    {
        ++asked;
        if (m_out.isEmpty())
            return nullptr;
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(m_out);
        p->setResolution(300);
        if (m_paper.isValid())
            p->setPageSize(m_paper);
        return p;
    }

private:
    QString m_out;
    QPageSize m_paper;
};

QString title()
{
    return QStringLiteral("Quorvane zum 01.01.") + zor::reportYear(QDate::currentDate())
           + QStringLiteral(" V-Nr: 4711");
}

} // namespace

class TstPrintOutput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void savePdfWritesTheReport();
    void pdfPlacesTextsByTheirTopAndFont();
    void savePdfContinuesOnFurtherSheets();
    void savePdfCancelledOrFailingWritesNothing();
    void printGoesToTheDefaultPrinter();
    void printThatCannotBeginIsToldAndWritesNothing_data();
    void printThatCannotBeginIsToldAndWritesNothing();
    void printWithoutPrinterPointsToPdf();
    void countThatIsNoNumberEndsBeforeAnyJob();
    void printerStateIsToldInGerman_data();
    void printerStateIsToldInGerman();
    void startLoadsNoPrintLibrary();
    void withoutLibcupsPrintingIsTold();

private:
    std::unique_ptr<QTemporaryDir> m_dir; // a fresh folder for every case
};

void TstPrintOutput::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstPrintOutput::savePdfWritesTheReport()
{
    auto form = zortest::makeForm();
    form->showReport(sampleReport());
    form->setModified(false);
    const zor::Report before = form->currentReport();

    zortest::dialogs().primeFile(m_dir->filePath(QStringLiteral("bericht")));
    zortest::trigger(*form, "FileSavePdf");

    QCOMPARE(zortest::dialogs().shown().size(), 1);
    const zortest::ShownDialog &d = zortest::dialogs().shown().first();
    QCOMPARE(d.kind, QStringLiteral("save"));
    QCOMPARE(d.filter, QStringLiteral("PDF-Dateien (*.pdf)"));

    const QString pdf = m_dir->filePath(QStringLiteral("bericht.pdf"));
    QVERIFY(QFileInfo::exists(pdf));
    const QString text = pdfText(pdf);
    QVERIFY2(hasLine(text, title()), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("7 - 14 Jahre 12 9 21")), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("Alle 156 39 195")), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("1 Abe , Taro 3")), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("3 Zimmer , Anna 10")), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\f')), 1);

    // Printing only reads the window.
    QVERIFY(!form->isModified());
    QCOMPARE(form->currentReport(), before);
}

void TstPrintOutput::pdfPlacesTextsByTheirTopAndFont()
{
    auto form = zortest::makeForm();
    form->showReport(sampleReport());
    const QString pdf = m_dir->filePath(QStringLiteral("lage.pdf"));
    zortest::dialogs().primeFile(pdf);
    zortest::trigger(*form, "FileSavePdf");

    // A4 at 600 dpi: 4960 pixels wide, lh = 116; a pixel is 72/600 points.
    const zor::PrintMetrics m = zor::printMetrics(4960, 7016, 600);
    const auto pt = [](int px) { return px * 72.0 / 600.0; };
    const struct
    {
        const char *word;
        int x;
        int line;
    } expected[] = {{"Quorvane", m.xLeft, 1},      {"Kelvarbund", -1, 11},
                    {"Altersgruppe", m.xLeft, 40}, {"Meister:", m.xMasters, 21},
                    {"Abe", m.xName, 25},          {"Zimmer", m.xName, 27}};
    const QList<zortest::PdfWord> words = zortest::pdfWords(pdf);
    for (const auto &e : expected) {
        const zortest::PdfWord w = zortest::pdfWord(words, QString::fromLatin1(e.word));
        const QPointF at(w.xMin, w.yMin);
        QVERIFY2(at.y() >= 0, e.word);
        // The top of the text stands on its line; glyph side bearings shift x a little.
        QVERIFY2(qAbs(at.y() - pt(e.line * m.lineHeight)) < 0.5,
                 qPrintable(QStringLiteral("%1 at y %2").arg(e.word).arg(at.y())));
        if (e.x >= 0)
            QVERIFY2(qAbs(at.x() - pt(e.x)) < 1.0,
                     qPrintable(QStringLiteral("%1 at x %2").arg(e.word).arg(at.x())));
    }

    // Every text in the size and face the layout gives it, in the order drawn:
    // the title in 20 pt, the sender line in 7 pt, the rest in 10 pt, and the
    // member table in a fixed-pitch face, which keeps its columns.
    const QList<zortest::PdfText> drawn = zortest::pdfTextsWithFonts(pdf);
    QVERIFY(!drawn.isEmpty());
    QCOMPARE(drawn[0].text, title().replace(QLatin1String(" V-Nr"), QLatin1String("   V-Nr")));
    QCOMPARE(drawn[0].size, 20);
    QVERIFY2(drawn[1].text.startsWith(QLatin1String("Judo-Club")), qPrintable(drawn[1].text));
    QCOMPARE(drawn[1].size, 7);
    QCOMPARE(drawn[2].size, 10);
    const zor::PageGeometry page = zor::pdfGeometry();
    const zor::PrintLayout layout = zor::layoutReport(page.width, page.height, page.dpiY,
                                                      QDate::currentDate(), sampleReport());
    QCOMPARE(layout.pages.size(), 1);
    QCOMPARE(drawn.size(), layout.pages[0].size());
    int fixedPitch = 0;
    for (int i = 0; i < drawn.size(); ++i) {
        const zor::PrintText &t = layout.pages[0][i];
        const QString where = QStringLiteral("'%1' in %2 %3 pt")
                                      .arg(drawn[i].text, drawn[i].family)
                                      .arg(drawn[i].size);
        QVERIFY2(drawn[i].text == t.text, qPrintable(where));
        QVERIFY2(drawn[i].size == t.pointSize, qPrintable(where));
        QVERIFY2(isFixedPitch(drawn[i].family) == (t.family == QLatin1String("Courier New")),
                 qPrintable(where));
        fixedPitch += isFixedPitch(drawn[i].family);
    }
    QCOMPARE(fixedPitch, 9); // the heading, seven age groups and the total
}

void TstPrintOutput::savePdfContinuesOnFurtherSheets()
{
    auto form = zortest::makeForm();
    // The PDF page (A4, 600 dpi, 7016 pixels high) has N = 56: 30 masters on sheet 1.
    form->showReport(sampleReport(31));

    zortest::dialogs().primeFile(m_dir->filePath(QStringLiteral("lang.pdf")));
    zortest::trigger(*form, "FileSavePdf");
    const QString text = pdfText(m_dir->filePath(QStringLiteral("lang.pdf")));
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY2(hasLine(pages[0], QStringLiteral("30 M\u00fcller000030 , J\u00fcrgen 1")),
             qPrintable(pages[0]));
    QVERIFY2(hasLine(pages[0], QStringLiteral("weitere siehe Blatt 2")), qPrintable(pages[0]));
    QVERIFY2(hasLine(pages[1], QStringLiteral("ZOR-Quorvane Blatt 2")), qPrintable(pages[1]));
    QVERIFY2(hasLine(pages[1], QStringLiteral("31 M\u00fcller000031 , J\u00fcrgen 2")),
             qPrintable(pages[1]));
}

void TstPrintOutput::savePdfCancelledOrFailingWritesNothing()
{
    auto form = zortest::makeForm();
    form->showReport(sampleReport());

    // The dialog offers the report's own name with the PDF's extension.
    form->setCurrentFileName(m_dir->filePath(QStringLiteral("verein.zor")));
    zortest::dialogs().primeFile(QString());
    zortest::trigger(*form, "FileSavePdf");
    QCOMPARE(zortest::shownDialogs().size(), 1); // only the save dialog
    QCOMPARE(zortest::dialogs().shown().first().initial,
             m_dir->filePath(QStringLiteral("verein.pdf")));
    QVERIFY(QDir(m_dir->path()).isEmpty());

    // A folder that does not exist is refused by the dialog itself, which asks again.
    zortest::dialogs().reset();
    const QString unreachable = m_dir->filePath(QStringLiteral("fehlt/bericht.pdf"));
    zortest::dialogs().primeFile(unreachable);
    zortest::trigger(*form, "FileSavePdf");
    QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown[1].startsWith(QStringLiteral("warning|Warnung|Der Ordner")),
             qPrintable(shown[1]));
    QVERIFY(shown[1].contains(m_dir->filePath(QStringLiteral("fehlt"))));
    QCOMPARE(zortest::dialogs().shown().at(2).initial,
             unreachable); // asked again, with the name typed
    QVERIFY(!QFileInfo::exists(unreachable));

    // A name that cannot be written is reported with the reason.
    zortest::dialogs().reset();
    const QString folder = m_dir->filePath(QStringLiteral("ordner.pdf"));
    QVERIFY(QDir().mkpath(folder));
    zortest::dialogs().primeFile(folder);
    zortest::trigger(*form, "FileSavePdf");
    shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown[1].startsWith(QStringLiteral("message|ZOR-Quorvane|Die PDF-Datei")),
             qPrintable(shown[1]));
    QVERIFY(shown[1].contains(QStringLiteral("Ordner")));
    QVERIFY(QFileInfo(folder).isDir());
}

void TstPrintOutput::printGoesToTheDefaultPrinter()
{
    const QString out = m_dir->filePath(QStringLiteral("drucker.pdf"));
    PdfPrinter printer(out);
    const zor::StandIn<zor::DefaultPrinter> inPlace(printer);
    auto form = zortest::makeForm();
    form->showReport(sampleReport());
    form->setModified(false);

    zortest::trigger(*form, "FilePrint");

    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
    const QString text = pdfText(out);
    QVERIFY2(hasLine(text, title()), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("27 - 40 Jahre 130 20 150")), qPrintable(text));
    QVERIFY2(hasLine(text, QStringLiteral("1 Abe , Taro 3")), qPrintable(text));
    QVERIFY(!form->isModified());
}

void TstPrintOutput::printThatCannotBeginIsToldAndWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<QString>("begins");
    QTest::addColumn<QString>("says");
    // A printer whose output cannot be opened refuses to begin the job.
    QTest::newRow("printer fails")
            << QStringLiteral("fehlt/drucker.pdf") << QPageSize()
            << QStringLiteral("message|ZOR-Quorvane|Der Bericht konnte nicht gedruckt werden")
            << QString();
    // A label of 40 x 40 mm holds not even half of the first sheet.
    QTest::newRow("paper too small")
            << QStringLiteral("etikett.pdf") << QPageSize(QSizeF(40, 40), QPageSize::Millimeter)
            << QStringLiteral("message|ZOR-Quorvane|")
            << QStringLiteral("Die bedruckbare Fl\u00e4che des Papiers (40 \u00d7 40 mm) ist zu "
                              "klein");
}

void TstPrintOutput::printThatCannotBeginIsToldAndWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QPageSize, paper);
    QFETCH(QString, begins);
    QFETCH(QString, says);
    const QString out = m_dir->filePath(name);
    PdfPrinter printer(out, paper);
    const zor::StandIn<zor::DefaultPrinter> inPlace(printer);
    auto form = zortest::makeForm();
    form->showReport(sampleReport());
    zortest::trigger(*form, "FilePrint");
    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(begins) && shown[0].contains(says), qPrintable(shown[0]));
    QVERIFY(!QFileInfo::exists(out));
}

void TstPrintOutput::printWithoutPrinterPointsToPdf()
{
    PdfPrinter none;
    const zor::StandIn<zor::DefaultPrinter> inPlace(none);
    auto form = zortest::makeForm();
    // The preview and the print dialog need a printer as much as printing does.
    for (QAction *action : {zortest::widget<QAction>(*form, "FilePrint"),
                            zortest::widget<QAction>(*form, "FilePreview"),
                            zortest::widget<QAction>(*form, "FilePrintDialog")}) {
        zortest::dialogs().reset();
        action->trigger();
        const QStringList shown = zortest::shownDialogs();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("message|ZOR-Quorvane|Es ist kein Drucker")),
                 qPrintable(shown[0]));
        QVERIFY(shown[0].contains(QStringLiteral("\"Als PDF speichern...\"")));
    }
}

void TstPrintOutput::countThatIsNoNumberEndsBeforeAnyJob()
{
    const QString out = m_dir->filePath(QStringLiteral("drucker.pdf"));
    PdfPrinter printer(out);
    const zor::StandIn<zor::DefaultPrinter> inPlace(printer);
    auto form = zortest::makeForm();
    zor::Report r = sampleReport();
    r.counts[3][zor::Men] = QStringLiteral("x1");
    form->showReport(r);
    QCOMPARE(zortest::shownDialogs().size(), 1); // the sums cannot be shown either
    zortest::dialogs().clearShown();

    zortest::trigger(*form, "FilePrint");
    QCOMPARE(printer.asked, 1);
    QCOMPARE(zortest::shownDialogs(),
             QStringList{
                     QStringLiteral("error|ZOR-Quorvane|'x1' ist kein g\u00fcltiger Integerwert")});
    QVERIFY(!QFileInfo::exists(out));

    // The PDF stops the same way, before its save dialog.
    zortest::dialogs().reset();
    zortest::trigger(*form, "FileSavePdf");
    QCOMPARE(zortest::shownDialogs(),
             QStringList{
                     QStringLiteral("error|ZOR-Quorvane|'x1' ist kein g\u00fcltiger Integerwert")});
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TstPrintOutput::printerStateIsToldInGerman_data()
{
    QTest::addColumn<QStringList>("keywords");
    QTest::addColumn<QString>("told");
    QTest::newRow("no paper") << QStringList{QStringLiteral("media-empty-error")}
                              << QStringLiteral("kein Papier");
    QTest::newRow("jam and door") << QStringList{QStringLiteral("media-jam-warning"),
                                                 QStringLiteral("door-open-report")}
                                  << QStringLiteral("Papierstau, Klappe offen");
    QTest::newRow("offline") << QStringList{QStringLiteral("offline-report")}
                             << QStringLiteral("Drucker nicht erreichbar (offline)");
    QTest::newRow("toner") << QStringList{QStringLiteral("toner-empty-error")}
                           << QStringLiteral("kein Toner");
    QTest::newRow("paused") << QStringList{QStringLiteral("paused")}
                            << QStringLiteral("angehalten");
    QTest::newRow("said twice") << QStringList{QStringLiteral("media-empty-error"),
                                               QStringLiteral("media-empty-warning")}
                                << QStringLiteral("kein Papier");
    // A keyword of the printer's own maker is passed on as it comes.
    QTest::newRow("vendor's own") << QStringList{QStringLiteral("com.example-fuser-error"),
                                                 QStringLiteral("cover-open-error")}
                                  << QStringLiteral("com.example-fuser-error, Abdeckung offen");
    QTest::newRow("nothing") << QStringList{} << QString();
}

void TstPrintOutput::printerStateIsToldInGerman()
{
    QFETCH(QStringList, keywords);
    QTEST(zor::describeReasons(keywords), "told");
}

void TstPrintOutput::startLoadsNoPrintLibrary()
{
    // The program does not link libcups...
    const Run linked = zortest::run(QStringLiteral("ldd"), {QStringLiteral(ZOR_PROGRAM)});
    QVERIFY2(linked.exitCode == 0 && linked.out.contains(QLatin1String("libQt6Widgets")),
             qPrintable(linked.out + linked.err));
    QVERIFY2(!linked.out.contains(QLatin1String("cups")), qPrintable(linked.out));

    // ...nor loads it, or Qt's print support for it, while its window starts.
    QTemporaryDir data;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZOR_PROGRAM), QStringList());
    QVERIFY(program.waitForStarted());
    // The recovery folder is made once the window is shown.
    const auto started = [&data] {
        QDirIterator it(data.path(), QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            if (it.next().endsWith(QLatin1String("/recovery")))
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(started(), 30000);
    QTest::qWait(500);
    const QString maps = QString::fromLatin1(
            zortest::readAll(QStringLiteral("/proc/%1/maps").arg(program.processId())));
    program.kill();
    program.waitForFinished();
    QVERIFY2(maps.contains(QLatin1String("libQt6Widgets")), "not the program's own map");
    QVERIFY2(!maps.contains(QLatin1String("cups")), qPrintable(maps));
}

void TstPrintOutput::withoutLibcupsPrintingIsTold()
{
    if (qEnvironmentVariableIsSet("ZORTEST_LIBCUPS_HIDDEN")) {
        // The run below, where libcups is an empty file: every print action
        // tells so, in German, and the window goes on.
        auto form = zortest::makeForm();
        form->showReport(sampleReport());
        for (const char *action : {"FilePrint", "FilePrintDialog", "FilePreview"}) {
            zortest::dialogs().reset();
            zortest::trigger(*form, action);
            const QStringList shown = zortest::shownDialogs();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].contains(QStringLiteral("Zum Drucken fehlt die Bibliothek libcups")),
                     qPrintable(shown[0]));
        }
        return;
    }
    if (geteuid() != 0)
        QSKIP("hiding libcups needs a mount namespace of root's");
    const QString ldconfig = QStandardPaths::findExecutable(
            QStringLiteral("ldconfig"), {QStringLiteral("/sbin"), QStringLiteral("/usr/sbin")});
    const QRegularExpression where(QStringLiteral("libcups\\.so\\.2 \\(.*\\) => (\\S+)"));
    const QRegularExpressionMatch found = where.match(
            zortest::run(ldconfig, {QStringLiteral("-p")}).out);
    QVERIFY2(found.hasMatch(), "libcups.so.2 is not installed");
    const QString library = QFileInfo(found.captured(1)).canonicalFilePath();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORTEST_LIBCUPS_HIDDEN"), QStringLiteral("1"));
    const Run r = zortest::run(
            QStringLiteral("unshare"),
            {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private"),
             QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("mount --bind /dev/null \"$1\" && exec \"$2\" \"$3\""),
             QStringLiteral("sh"), library, QCoreApplication::applicationFilePath(),
             QStringLiteral("withoutLibcupsPrintingIsTold")},
            env, {}, 120000);
    QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(
                     QLatin1String("PASS   : TstPrintOutput::withoutLibcupsPrintingIsTold()")),
             qPrintable(r.out));
}

QTEST_MAIN(TstPrintOutput)
#include "tst_printoutput.moc"
