// Printing on real printer queues: a CUPS of the tests' own with cups-pdf
// queues (tools/cupsserver), whose PDF files are read back with pdftotext.

#include "print/defaultprinter.h"
#include "print/printjob.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"
#include "tests/support/formfixture.h"
#include "tests/support/pdfreading.h"
#include "tests/support/samplereport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

using zortest::sampleReport;

namespace {

QString cupsDir()
{
    return qEnvironmentVariable("ZOR_CUPS_DIR");
}

QString outDir()
{
    return cupsDir() + QStringLiteral("/out");
}

QStringList pdfFiles()
{
    return QDir(outDir()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// The PDF that cups-pdf writes for the next job: a file that was not there
// before, complete once poppler can read it. Empty when none came in time.
QString awaitPdf(const QStringList &before, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        for (const QString &f : pdfFiles()) {
            if (before.contains(f))
                continue;
            const QString path = outDir() + QLatin1Char('/') + f;
            if (zortest::pdfPageCount(path) > 0)
                return path;
        }
        QTest::qWait(200);
    }
    return QString();
}

// The jobs of a queue that are not finished, as lpstat lists them.
QString openJobs(const QString &queue)
{
    return zortest::toolOutput(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue}).trimmed();
}

void useAsDefault(const QString &queue)
{
    qputenv("LPDEST", queue.toUtf8());
}

// The window showing `report`, unchanged, with `queue` as the default printer.
std::unique_ptr<TSDIAppForm> windowPrintingOn(const QString &queue,
                                              const zor::Report &report = sampleReport())
{
    useAsDefault(queue);
    auto form = zortest::makeForm();
    form->showReport(report);
    form->setModified(false);
    return form;
}

// The layout of the report for a queue's own paper, as the window makes it.
zor::PrintLayout layoutOn(const QString &queue, const zor::Report &report)
{
    const std::unique_ptr<QPrinter> printer = zor::DefaultPrinter::real().printer(queue);
    if (!printer)
        return {};
    const zor::PageGeometry page = zor::pageGeometry(*printer);
    return zor::layoutReport(page.width, page.height, page.dpiY, QDate::currentDate(), report);
}

QString wordList(const QList<zortest::PdfWord> &words)
{
    QString dump;
    for (const zortest::PdfWord &w : words)
        dump += QStringLiteral("%1 %2,%3-%4,%5\n")
                        .arg(w.text)
                        .arg(w.xMin)
                        .arg(w.yMin)
                        .arg(w.xMax)
                        .arg(w.yMax);
    return dump;
}

// The first sheet of the PDF as a person checks it: every word the layout
// puts there is on the paper, each inside the printable area (in points),
// and no word covers another.
void verifyFirstSheet(const QString &pdf, const zor::PrintPage &page, const QRectF &printable)
{
    const QList<zortest::PdfWord> words = zortest::pdfWords(pdf);
    QStringList expected, found;
    for (const zor::PrintText &t : page)
        expected << t.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const zortest::PdfWord &w : words)
        found << w.text;
    expected.sort();
    found.sort();
    QVERIFY2(found == expected,
             qPrintable(
                     QStringLiteral("missing: %1\nextra: %2")
                             .arg(QSet<QString>(expected.begin(), expected.end())
                                          .subtract(QSet<QString>(found.begin(), found.end()))
                                          .values()
                                          .join(u' '),
                                  QSet<QString>(found.begin(), found.end())
                                          .subtract(QSet<QString>(expected.begin(), expected.end()))
                                          .values()
                                          .join(u' '))));
    const QRectF area = printable.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (int i = 0; i < words.size(); ++i) {
        const QRectF a(QPointF(words[i].xMin, words[i].yMin),
                       QPointF(words[i].xMax, words[i].yMax));
        QVERIFY2(area.contains(a),
                 qPrintable(QStringLiteral("'%1' outside the printable area\n").arg(words[i].text)
                            + wordList(words)));
        for (int j = i + 1; j < words.size(); ++j) {
            const QRectF b(QPointF(words[j].xMin, words[j].yMin),
                           QPointF(words[j].xMax, words[j].yMax));
            const QRectF both = a.intersected(b);
            QVERIFY2(both.width() < 0.2 || both.height() < 0.2,
                     qPrintable(
                             QStringLiteral("'%1' covers '%2'\n").arg(words[i].text, words[j].text)
                             + wordList(words)));
        }
    }
}

// The tests' own scheduler, stopped with SIGSTOP as a hung print server is,
// and let go on after `ms` (from a thread of its own, so that a test whose
// own thread waits in a job still sees it go on) or when this ends.
class StoppedSpooler
{
public:
    explicit StoppedSpooler(int ms)
    {
        bool ok = false;
        m_pid = QString::fromLatin1(readAll(cupsDir() + QStringLiteral("/cupsd.pid")))
                        .trimmed()
                        .toInt(&ok);
        // Only our own cupsd, never another process that got its number.
        if (!ok || readAll(QStringLiteral("/proc/%1/comm").arg(m_pid)).trimmed() != "cupsd") {
            m_pid = 0;
            return;
        }
        ::kill(m_pid, SIGSTOP);
        m_thread = std::thread([this, ms] {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_release; });
            ::kill(m_pid, SIGCONT);
            m_resumed = true;
        });
    }
    ~StoppedSpooler()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_release = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    bool stopped() const { return m_pid != 0; }
    bool resumed() const { return m_resumed; }

private:
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    pid_t m_pid = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_release = false;
    std::atomic_bool m_resumed{false};
};

// The longest time the window's thread went without running its timers.
class Responsiveness
{
public:
    Responsiveness()
    {
        m_clock.start();
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_worst = qMax(m_worst, now - m_last);
            m_last = now;
        });
        m_tick.start(20);
    }
    qint64 worstGapMs() const { return m_worst; }

private:
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

// Runs `step` on the modal dialog of type D once it is shown and `ready`
// says it is set up; gives up after a while.
template<typename D>
void whenShown(const std::function<bool(D *)> &ready, const std::function<void(D *)> &step)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        D *d = qobject_cast<D *>(QApplication::activeModalWidget());
        if (d && ready(d)) {
            step(d);
        } else if (clock->elapsed() < 20000) {
            return;
        } else if (QWidget *w = QApplication::activeModalWidget()) {
            w->close();
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
    });
    timer->start(50);
}

} // namespace

class TstCupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void printComesOutOnTheQueuesPaper_data();
    void printComesOutOnTheQueuesPaper();
    void queueThatDoesNotPrintIsTold_data();
    void queueThatDoesNotPrintIsTold();
    void cancelledJobLeavesNothingWithTheSpooler();
    void previewShowsThePagesOnThePrintersPaper();
    void printDialogChoosesPrinterAndPages();
    void previewPrintsOnTheAreaOfThePrinterChosen();
    void everyPrinterCanBeChosenWithoutADefault_data();
    void everyPrinterCanBeChosenWithoutADefault();
    void windowAnswersWhileTheSpoolerIsStopped_data();
    void windowAnswersWhileTheSpoolerIsStopped();
    void jobGoesOnOrIsTakenBackWhenTheSpoolerStops_data();
    void jobGoesOnOrIsTakenBackWhenTheSpoolerStops();
};

void TstCupsPrint::initTestCase()
{
    QVERIFY2(!cupsDir().isEmpty(), "the print tests run under ctest, which starts their CUPS");
    QVERIFY2(QFileInfo(cupsDir() + QStringLiteral("/cups.sock")).exists(), qPrintable(cupsDir()));
    // The tests choose the desktop's default printer the way a user's session does.
    useAsDefault(QStringLiteral("zor-letter"));
    QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("zor-letter"));
}

void TstCupsPrint::cleanup()
{
    qunsetenv("LPDEST");
}

void TstCupsPrint::printComesOutOnTheQueuesPaper_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QSizeF>("printable");
    // A4 as cups-pdf ships it: the whole sheet. Letter: quarter-inch sides,
    // half-inch top and bottom.
    QTest::newRow("A4") << QStringLiteral("zor-a4") << QSizeF(595, 842) << QPointF(0, 0)
                        << QSizeF(595, 842);
    QTest::newRow("Letter") << QStringLiteral("zor-letter") << QSizeF(612, 792) << QPointF(18, 36)
                            << QSizeF(576, 720);
    // Too small for the first sheet as designed: the printout is drawn smaller.
    QTest::newRow("A4, wide margins") << QStringLiteral("zor-margins") << QSizeF(595, 842)
                                      << QPointF(100, 150) << QSizeF(395, 542);
}

void TstCupsPrint::printComesOutOnTheQueuesPaper()
{
    QFETCH(QString, queue);
    QFETCH(QSizeF, paper);
    QFETCH(QPointF, origin);
    QFETCH(QSizeF, printable);
    const auto form = windowPrintingOn(queue);
    const QStringList before = pdfFiles();

    zortest::trigger(*form, "FilePrint");
    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
    const QString pdf = awaitPdf(before);
    QVERIFY2(!pdf.isEmpty(), "cups-pdf wrote no file");
    const QSizeF size = zortest::pdfPageSize(pdf);
    QVERIFY2(qAbs(size.width() - paper.width()) < 1 && qAbs(size.height() - paper.height()) < 1,
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    QVERIFY(!form->isModified());

    // Where the layout puts the texts, in points on the sheet; a printable
    // area too small for the first sheet has it all drawn smaller.
    const int dpi
            = QPrinter(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution).resolution();
    const auto px = [dpi](double pt) { return int(pt * dpi / 72.0); };
    const zor::PageFit fit = zor::fitPage(px(printable.width()), px(printable.height()), dpi);
    const double scale = fit.scale;
    QCOMPARE(scale < 1, queue == QLatin1String("zor-margins"));
    const zor::PrintMetrics m = zor::printMetrics(fit.width, fit.height, dpi);
    const auto x = [&](int pixels) { return origin.x() + pixels * scale * 72.0 / dpi; };
    const auto y = [&](int line) { return origin.y() + line * m.lineHeight * scale * 72.0 / dpi; };

    const QList<zortest::PdfWord> all = zortest::pdfWords(pdf);
    QString dump;
    for (const zortest::PdfWord &w : all)
        dump += QStringLiteral("%1 %2 %3 %4\n").arg(w.text).arg(w.xMin).arg(w.yMin).arg(w.height());
    const struct
    {
        const char *text;
        int x;
        int line;
        int size;
        bool courier;
    } expected[] = {
            {"Quorvane", m.xLeft, 1, 20, false},     {"Judo-Club", m.xLeft, 9, 7, false},
            {"Verein", m.xLeft, 21, 10, false},      {"Sporthalle", m.xLeft, 33, 10, false},
            {"Altersgruppe", m.xLeft, 40, 10, true}, {"Meister:", m.xMasters, 21, 10, false},
            {"Abe", m.xName, 25, 10, false},         {"Zimmer", m.xName, 27, 10, false}};
    // pdftotext's box of a word begins a little below the top of the text, by
    // a share of the font size that is the same for all texts of one face.
    double share[2] = {-1, -1};
    for (const auto &e : expected) {
        const zortest::PdfWord w = zortest::pdfWord(all, QString::fromLatin1(e.text));
        QVERIFY2(w.yMin >= 0, e.text);
        QVERIFY2(qAbs(w.xMin - x(e.x)) < 1.0 * scale,
                 qPrintable(
                         QStringLiteral("%1 at x %2, not %3\n").arg(e.text).arg(w.xMin).arg(x(e.x))
                         + dump));
        const double below = (w.yMin - y(e.line)) / (e.size * scale);
        double &face = share[e.courier];
        if (face < 0)
            face = below;
        QVERIFY2(below >= 0 && below < 0.3 && qAbs(below - face) < 0.02,
                 qPrintable(QStringLiteral("%1 at y %2, not on line %3 (y %4)\n")
                                    .arg(e.text)
                                    .arg(w.yMin)
                                    .arg(e.line)
                                    .arg(y(e.line))
                            + dump));
    }
    // The title in 20 pt, the sender line in 7 pt, the rest in 10 pt, at
    // this queue's resolution too (all smaller by the same factor where the
    // area is small; the PDF gives whole points).
    const QList<zortest::PdfText> texts = zortest::pdfTextsWithFonts(pdf);
    QString sizes;
    for (const zortest::PdfText &t : texts)
        sizes += QStringLiteral("%1 %2\n").arg(t.size).arg(t.text.trimmed());
    const struct
    {
        int size;
        const char *start;
    } sized[] = {{20, "Quorvane zum"},
                 {7, "Judo-Club Beispielhausen e.V. -"},
                 {10, "Verein und Vorsitzender:"},
                 {10, "Altersgruppe"},
                 {10, "Zimmer , Anna"}};
    for (const auto &e : sized) {
        bool seen = false;
        for (const zortest::PdfText &t : texts)
            seen = seen
                   || (t.text.trimmed().startsWith(QString::fromUtf8(e.start))
                       && (scale == 1 ? t.size == e.size : qAbs(t.size - e.size * scale) <= 1));
        QVERIFY2(seen, qPrintable(QStringLiteral("%1 pt %2\n").arg(e.size).arg(e.start) + sizes));
    }
    verifyFirstSheet(pdf, layoutOn(queue, sampleReport()).pages.value(0),
                     QRectF(origin, printable));
    if (QTest::currentTestFailed())
        return;

    // A job that came out whole is not followed by a message.
    QTest::qWait(1500);
    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
}

void TstCupsPrint::queueThatDoesNotPrintIsTold_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<bool>("atOnce"); // refused before the job is sent
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("reason");
    QTest::newRow("rejecting") << QStringLiteral("zor-reject") << true
                               << QString::fromUtf8(
                                          "Der Drucker \u201ezor-reject\u201c nimmt zurzeit keine "
                                          "Auftr\u00e4ge an")
                               << QStringLiteral("Grund: Wartung: Papierfach leer");
    QTest::newRow("stopped") << QStringLiteral("zor-stopped") << true
                             << QString::fromUtf8(
                                        "Der Drucker \u201ezor-stopped\u201c ist angehalten")
                             << QStringLiteral("Grund: Papierstau in Fach 2");
    // The spooler takes the job; the printer fails it a moment later.
    QTest::newRow("failed")
            << QStringLiteral("zor-broken") << false
            << QString::fromUtf8("Der Druckauftrag auf dem Drucker \u201ezor-broken\u201c ist "
                                 "gescheitert")
            << QString();
    // CUPS holds the job to try again later: not printed yet, and why.
    QTest::newRow("held") << QStringLiteral("zor-noanswer") << false
                          << QStringLiteral("Der Bericht ist noch nicht gedruckt: Das Drucksystem "
                                            "h\u00e4lt den Auftrag auf dem Drucker "
                                            "\u201ezor-noanswer\u201c zur\u00fcck")
                          << QStringLiteral("Grund: The printer is not responding.");
}

void TstCupsPrint::queueThatDoesNotPrintIsTold()
{
    QFETCH(QString, queue);
    QFETCH(bool, atOnce);
    QFETCH(QString, what);
    QFETCH(QString, reason);
    const auto form = windowPrintingOn(queue);
    const QStringList before = pdfFiles();

    zortest::trigger(*form, "FilePrint");
    if (!atOnce) {
        QTRY_VERIFY_WITH_TIMEOUT(!zortest::shownDialogs().isEmpty(), 30000);
        QTest::qWait(1500);
    }
    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 1); // told once
    QVERIFY2(shown[0].startsWith(QStringLiteral(
                     "message|ZOR-Quorvane|Der Bericht konnte nicht gedruckt werden.")),
             qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(what), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(reason), qPrintable(shown[0]));
    if (atOnce) {
        // Nothing waits in the queue to come out later.
        QCOMPARE(openJobs(queue), QString());
        QTest::qWait(1000);
    }
    QCOMPARE(pdfFiles(), before); // and nothing came out
}

void TstCupsPrint::cancelledJobLeavesNothingWithTheSpooler()
{
    useAsDefault(QStringLiteral("zor-a4"));
    std::unique_ptr<QPrinter> printer = zor::DefaultPrinter::current().printer(
            QStringLiteral("zor-a4"));
    QVERIFY(printer);
    const zor::Report r = sampleReport(3000);
    const zor::PageGeometry page = zor::pageGeometry(*printer);
    const zor::PrintLayout layout = zor::layoutReport(page.width, page.height, page.dpiY,
                                                      QDate::currentDate(), r);
    const int pages = layout.pages.size();
    QVERIFY(pages > 30);
    const QStringList before = pdfFiles();

    // Cancelled while the pages are made: no job at all.
    int calls = 0;
    zor::PrintResult result = zor::printJob(*printer, layout, [&](int done, int) {
        ++calls;
        return done < pages / 2;
    });
    QVERIFY(!result);
    QVERIFY(result.failure().cancelled);
    QVERIFY(result.reason().isEmpty());
    QCOMPARE(result.failure().jobId, 0);
    QVERIFY(calls > 1);

    // Cancelled after part of the document went to the spooler: the job is
    // taken back whole.
    int maxTotal = 0;
    result = zor::printJob(*printer, layout, [&](int done, int total) {
        maxTotal = qMax(maxTotal, total);
        return done <= pages + 1;
    });
    QVERIFY(!result);
    QVERIFY(result.failure().cancelled);
    QVERIFY2(maxTotal > pages + 2, "the document was sent in one piece");
    QVERIFY(result.failure().jobId > 0);
    QCOMPARE(openJobs(QStringLiteral("zor-a4")), QString());
    QTest::qWait(2000);
    QCOMPARE(pdfFiles(), before);

    // The same job, not cancelled, comes out whole.
    int last = 0;
    result = zor::printJob(*printer, layout, [&](int done, int total) {
        last = done == total ? total : last;
        return true;
    });
    QVERIFY2(result, qPrintable(result.reason()));
    QVERIFY(*result > 0);
    QVERIFY(last > pages);
    const QString pdf = awaitPdf(before, 120000);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(zortest::pdfPageCount(pdf), pages);
}

void TstCupsPrint::previewShowsThePagesOnThePrintersPaper()
{
    // Letter's printable area at the queue's resolution holds 21 masters on sheet 1.
    const auto form = windowPrintingOn(QStringLiteral("zor-letter"), sampleReport(30));
    const QStringList before = pdfFiles();

    int pages = -1;
    QPageSize::PageSizeId paper = QPageSize::Custom;
    whenShown<QPrintPreviewDialog>(
            [](QPrintPreviewDialog *d) {
                auto *w = d->findChild<QPrintPreviewWidget *>();
                return w && w->pageCount() > 0;
            },
            [&](QPrintPreviewDialog *d) {
                pages = d->findChild<QPrintPreviewWidget *>()->pageCount();
                paper = d->printer()->pageLayout().pageSize().id();
                // Printing from the preview sends the same job as "Datei Drucken".
                d->findChild<QPrintPreviewWidget *>()->print();
                d->reject();
            });
    zortest::trigger(*form, "FilePreview");
    QCOMPARE(pages, 2);
    QCOMPARE(paper, QPageSize::Letter);
    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
    const QString pdf = awaitPdf(before);
    QVERIFY2(!pdf.isEmpty(), "printing from the preview sent nothing");
    QCOMPARE(zortest::pdfPageCount(pdf), 2);
    QCOMPARE(zortest::pdfPageSize(pdf), QSizeF(612, 792));
    // The preview shows the pages only: one job came out, no more.
    QTest::qWait(1000);
    QCOMPARE(pdfFiles().size(), before.size() + 1);
}

void TstCupsPrint::printDialogChoosesPrinterAndPages()
{
    // Two sheets on A4 and on Letter.
    const auto form = windowPrintingOn(QStringLiteral("zor-a4"), sampleReport(40));
    const QStringList before = pdfFiles();

    bool chosen = false;
    whenShown<QPrintDialog>(
            [](QPrintDialog *) { return true; },
            [&](QPrintDialog *d) {
                auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers"));
                auto *range = d->findChild<QRadioButton *>(QStringLiteral("printRange"));
                auto *from = d->findChild<QSpinBox *>(QStringLiteral("from"));
                auto *to = d->findChild<QSpinBox *>(QStringLiteral("to"));
                if (printers && range && from && to
                    && printers->findText(QStringLiteral("zor-letter")) >= 0) {
                    printers->setCurrentIndex(printers->findText(QStringLiteral("zor-letter")));
                    range->setChecked(true);
                    to->setValue(2);
                    from->setValue(2);
                    chosen = true;
                    d->accept();
                } else {
                    d->reject();
                }
            });
    zortest::trigger(*form, "FilePrintDialog");
    QVERIFY2(chosen, "the print dialog offered no printer or page range");
    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
    const QString pdf = awaitPdf(before);
    QVERIFY2(!pdf.isEmpty(), "nothing came out of the chosen printer");
    // Letter, the chosen printer's paper, and only its second sheet.
    QCOMPARE(zortest::pdfPageSize(pdf), QSizeF(612, 792));
    const QString text = zortest::pdfText(pdf);
    QVERIFY2(text.simplified().contains(QStringLiteral("ZOR-Quorvane Blatt 2")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("Kelvarbund")), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\f')), 1);

    // Cancelling the dialog prints nothing.
    whenShown<QPrintDialog>([](QPrintDialog *) { return true; },
                            [](QPrintDialog *d) { d->reject(); });
    zortest::trigger(*form, "FilePrintDialog");
    QTest::qWait(1000);
    QCOMPARE(pdfFiles().size(), before.size() + 1);
}

void TstCupsPrint::previewPrintsOnTheAreaOfThePrinterChosen()
{
    // In the preview's print dialog the user passes over the queue with wide
    // margins on the way to A4 with the whole sheet printable.
    const zor::Report report = sampleReport(300);
    const auto form = windowPrintingOn(QStringLiteral("zor-letter"), report);
    const zor::PrintLayout onA4 = layoutOn(QStringLiteral("zor-a4"), report);
    QCOMPARE(onA4.fit.scale, 1.0);
    QVERIFY(onA4.pages.size() < layoutOn(QStringLiteral("zor-margins"), report).pages.size());
    const QStringList before = pdfFiles();

    QStringList passedOver;
    whenShown<QPrintDialog>(
            [](QPrintDialog *) { return true; },
            [&](QPrintDialog *d) {
                auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers"));
                for (const char *queue : {"zor-margins", "zor-a4"}) {
                    const int i = printers ? printers->findText(QString::fromLatin1(queue)) : -1;
                    if (i < 0)
                        break;
                    printers->setCurrentIndex(i);
                    passedOver << printers->currentText();
                }
                d->accept();
            });
    bool printed = false;
    whenShown<QPrintPreviewDialog>(
            [](QPrintPreviewDialog *d) {
                auto *w = d->findChild<QPrintPreviewWidget *>();
                return w && w->pageCount() > 0;
            },
            [&](QPrintPreviewDialog *d) {
                // The preview's own print button, which asks for the printer first.
                for (QAction *a : d->findChildren<QAction *>()) {
                    const QString text = a->text().remove(QLatin1Char('&'));
                    if (!printed
                        && (text == QLatin1String("Print") || text == QLatin1String("Drucken"))) {
                        printed = true;
                        a->trigger();
                    }
                }
                d->reject();
            });
    zortest::trigger(*form, "FilePreview");
    QVERIFY2(printed, "the preview has no print button");
    QCOMPARE(passedOver, QStringList({QStringLiteral("zor-margins"), QStringLiteral("zor-a4")}));
    QVERIFY2(zortest::shownDialogs().isEmpty(), qPrintable(zortest::shownDialogs().join('\n')));
    const QString pdf = awaitPdf(before);
    QVERIFY2(!pdf.isEmpty(), "printing from the preview sent nothing");
    // Laid out on A4's own area: as many sheets, every word where it belongs.
    QCOMPARE(zortest::pdfPageCount(pdf), int(onA4.pages.size()));
    QCOMPARE(zortest::pdfPageSize(pdf), QSizeF(595, 842));
    verifyFirstSheet(pdf, onA4.pages[0], QRectF(0, 0, 595, 842));
    if (QTest::currentTestFailed())
        return;
    const zortest::PdfWord title = zortest::pdfWord(zortest::pdfWords(pdf),
                                                    QStringLiteral("Quorvane"));
    QVERIFY2(qAbs(title.xMin - 59.5) < 1, qPrintable(QString::number(title.xMin)));
}

void TstCupsPrint::everyPrinterCanBeChosenWithoutADefault_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<bool>("asked"); // told first that no default is chosen
    QTest::addColumn<bool>("preview");
    QTest::newRow("Datei Drucken") << QByteArray("FilePrint") << true << false;
    QTest::newRow("Drucken...") << QByteArray("FilePrintDialog") << false << false;
    QTest::newRow("Druckvorschau...") << QByteArray("FilePreview") << false << true;
}

void TstCupsPrint::everyPrinterCanBeChosenWithoutADefault()
{
    QFETCH(QByteArray, action);
    QFETCH(bool, asked);
    QFETCH(bool, preview);
    // Neither the session nor the server chooses a default printer.
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    QVERIFY2(QPrinterInfo::defaultPrinterName().isEmpty(),
             qPrintable(QPrinterInfo::defaultPrinterName()));
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    QVERIFY(queues.size() >= 7);
    auto form = zortest::makeForm();
    form->showReport(sampleReport());
    zortest::dialogs().primeAnswer(zor::Answer::Yes); // "Drucker wählen..."

    QStringList offered;
    QString shownOn;
    whenShown<QPrintDialog>([](QPrintDialog *) { return true; },
                            [&](QPrintDialog *d) {
                                auto *printers = d->findChild<QComboBox *>(
                                        QStringLiteral("printers"));
                                for (int i = 0; printers && i < printers->count(); ++i)
                                    offered << printers->itemText(i);
                                shownOn = d->printer()->printerName();
                                d->reject();
                            });
    int pages = 0;
    whenShown<QPrintPreviewDialog>(
            [](QPrintPreviewDialog *d) {
                auto *w = d->findChild<QPrintPreviewWidget *>();
                return w && w->pageCount() > 0;
            },
            [&](QPrintPreviewDialog *d) {
                pages = d->findChild<QPrintPreviewWidget *>()->pageCount();
                shownOn = d->printer()->printerName();
                d->reject();
            });
    zortest::trigger(*form, action.constData());

    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), asked ? 1 : 0);
    if (asked) {
        QVERIFY2(shown[0].startsWith(QStringLiteral(
                         "choice|ZOR-Quorvane|Es ist kein Standarddrucker gew\u00e4hlt")),
                 qPrintable(shown[0]));
        QCOMPARE(zortest::dialogs().shown().at(0).buttons,
                 QStringList(
                         {QStringLiteral("Drucker w\u00e4hlen..."), QStringLiteral("Abbrechen")}));
    }
    // Opened on the first printer there is, with all of them to choose from.
    QCOMPARE(shownOn, queues.first());
    if (preview)
        QVERIFY(pages > 0);
    for (const QString &queue : queues)
        QVERIFY2(preview || offered.contains(queue), qPrintable(offered.join(u',')));
}

void TstCupsPrint::windowAnswersWhileTheSpoolerIsStopped_data()
{
    QTest::addColumn<int>("stopMs");
    QTest::addColumn<bool>("cancel"); // "Abbrechen" in the box that shows
    QTest::addColumn<bool>("printed");
    QTest::addColumn<QString>("told");
    QTest::newRow("for a moment") << 2000 << false << true << QString();
    QTest::newRow("too long") << 8000 << false << false
                              << QStringLiteral("Der Druckdienst antwortet nicht");
    QTest::newRow("cancelled") << 8000 << true << false << QString();
}

void TstCupsPrint::windowAnswersWhileTheSpoolerIsStopped()
{
    QFETCH(int, stopMs);
    QFETCH(bool, cancel);
    QFETCH(bool, printed);
    QFETCH(QString, told);
    const auto form = windowPrintingOn(QStringLiteral("zor-a4"));
    const QStringList before = pdfFiles();
    bool clicked = false;
    QTimer user;
    if (cancel) {
        QObject::connect(&user, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *button = w->findChild<QPushButton *>(QStringLiteral("DruckAbbrechen"));
                if (!clicked && w->objectName() == QLatin1String("DruckFortschritt")
                    && w->isVisible() && button) {
                    clicked = true;
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        });
        user.start(50);
    }

    const Responsiveness window;
    QElapsedTimer clock;
    {
        const StoppedSpooler stop(stopMs);
        QVERIFY(stop.stopped());
        clock.start();
        zortest::trigger(*form, "FilePrint");
        const qint64 took = clock.elapsed();
        // The window went on answering while it waited for the spooler.
        QVERIFY2(window.worstGapMs() < 1000, qPrintable(QString::number(window.worstGapMs())));
        QCOMPARE(clicked, cancel);
        if (cancel)
            QVERIFY2(took < stopMs, qPrintable(QString::number(took)));
        const QStringList shown = zortest::shownDialogs();
        QCOMPARE(shown.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty()) {
            QVERIFY2(shown[0].contains(told), qPrintable(shown[0]));
            QVERIFY2(!shown[0].contains(QStringLiteral("kein Drucker")), qPrintable(shown[0]));
        }
        QTRY_VERIFY_WITH_TIMEOUT(stop.resumed(), stopMs + 5000);
    }
    if (printed) {
        const QString pdf = awaitPdf(before);
        QVERIFY2(!pdf.isEmpty(), "nothing came out once the spooler went on");
        QCOMPARE(zortest::pdfPageCount(pdf), 1);
    } else {
        QTest::qWait(2000);
        QCOMPARE(openJobs(QStringLiteral("zor-a4")), QString());
        QCOMPARE(pdfFiles(), before);
    }
}

void TstCupsPrint::jobGoesOnOrIsTakenBackWhenTheSpoolerStops_data()
{
    QTest::addColumn<int>("stopMs");
    QTest::addColumn<int>("cancelAfterMs"); // -1: not cancelled
    QTest::addColumn<QString>("outcome");
    QTest::newRow("for a moment") << 2000 << -1 << QStringLiteral("printed");
    QTest::newRow("too long") << 8000 << -1 << QStringLiteral("no answer");
    QTest::newRow("cancelled") << 8000 << 1000 << QStringLiteral("cancelled");
}

void TstCupsPrint::jobGoesOnOrIsTakenBackWhenTheSpoolerStops()
{
    QFETCH(int, stopMs);
    QFETCH(int, cancelAfterMs);
    QFETCH(QString, outcome);
    const std::unique_ptr<QPrinter> printer = zor::DefaultPrinter::real().printer(
            QStringLiteral("zor-a4"));
    QVERIFY(printer);
    const zor::PrintLayout layout = layoutOn(QStringLiteral("zor-a4"), sampleReport(3000));
    const int pages = layout.pages.size();
    const QStringList before = pdfFiles();

    // The spooler stops once the first piece of the document went to it.
    std::unique_ptr<StoppedSpooler> stop;
    QElapsedTimer sinceStop;
    const zor::PrintResult result = zor::printJob(*printer, layout, [&](int done, int) {
        if (!stop && done > pages) {
            stop = std::make_unique<StoppedSpooler>(stopMs);
            sinceStop.start();
        }
        return cancelAfterMs < 0 || !stop || sinceStop.elapsed() < cancelAfterMs;
    });
    QVERIFY2(stop && stop->stopped(), "the spooler was not stopped during the job");
    const qint64 ended = sinceStop.elapsed();
    if (outcome == QLatin1String("printed")) {
        QVERIFY2(result, qPrintable(result.reason()));
        stop.reset();
        const QString pdf = awaitPdf(before, 120000);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(zortest::pdfPageCount(pdf), pages);
        return;
    }
    QVERIFY(!result);
    QVERIFY(result.failure().jobId > 0);
    // Given up before the spooler went on: on no answer, or at the cancel.
    QVERIFY2(ended < stopMs, qPrintable(QString::number(ended)));
    if (outcome == QLatin1String("cancelled")) {
        QVERIFY(result.failure().cancelled);
        QVERIFY(result.reason().isEmpty());
    } else {
        QVERIFY(!result.failure().cancelled);
        QVERIFY2(result.reason().contains(QStringLiteral("Der Druckdienst antwortet nicht")),
                 qPrintable(result.reason()));
    }
    // Once the spooler answers again the job is taken back, nothing printed.
    stop.reset();
    QTRY_COMPARE_WITH_TIMEOUT(openJobs(QStringLiteral("zor-a4")), QString(), 20000);
    QTest::qWait(2000);
    QCOMPARE(pdfFiles(), before);
}

QTEST_MAIN(TstCupsPrint)
#include "tst_cupsprint.moc"
