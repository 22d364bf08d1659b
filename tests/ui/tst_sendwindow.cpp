// Sending, the help page and a file named on the command line,
// driven through the real window.

#include "tests/support/formfixture.h"
#include "tests/support/handoffrecorder.h"
#include "tests/support/standinprogram.h"
#include "tests/support/testfiles.h"

#include "send/sending.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

#include <optional>

using zor::Field;

namespace {

const QString caption = QStringLiteral("ZOR-Quorvane");
const QString saveFirst = QStringLiteral("Die aktuelle Quorvane muss zuerst gespeichert werden !");

// A window with a complete report saved as bericht.zor in dir, ready to be
// sent; null when the folder or the save failed.
std::unique_ptr<TSDIAppForm> savedReport(const QTemporaryDir &dir)
{
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    if (!dir.isValid() || !zortest::saveAs(*form, dir.filePath(QStringLiteral("bericht.zor"))))
        return nullptr;
    zortest::dialogs().clearShown();
    return form;
}

// The folder the program keeps its attachment copies in, under the runtime
// directory the test set up.
QString attachmentFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
            .filePath(QStringLiteral("zor-quorvane"));
}

} // namespace

class TstSendWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sendingRefusedUntilSaved();
    void sendingRewritesBothFilesThenHandsOff_data();
    void sendingRewritesBothFilesThenHandsOff();
    void sendingTellsWhenNoMailProgramStarts();
    void mailProgramExitStatusCounts_data();
    void mailProgramExitStatusCounts();
    void mailProgramThatDoesNotComeBackIsNotTakenForSuccess();
    void folderOfferedWhateverBecameOfTheMailProgram_data();
    void folderOfferedWhateverBecameOfTheMailProgram();
    void windowTakesInputWhileTheMailProgramStarts();
    void attachmentPathIsPlainWhateverTheReportFolder_data();
    void attachmentPathIsPlainWhateverTheReportFolder();
    void attachmentLeftOutWhenNoPlainCopyCanBeMade();
    void realXdgEmailGivesThunderbirdOneAttachment();
    void realDesktopPassesArgumentsVerbatim();
    void helpViewerExitStatusCounts();
    void helpPageOpensAsFileUrl();
    void helpPageFallsBackToInstalledCopy();
    void helpPageNamesEveryMenuEntryAndButton();
    void fileNamedOnCommandLineIsOpened();

private:
    QTemporaryDir m_runtime; // the user's runtime directory for these tests
};

void TstSendWindow::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void TstSendWindow::sendingRefusedUntilSaved()
{
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    auto form = zortest::makeForm();

    // Never saved.
    zortest::trigger(*form, "EMailSchicken");
    QCOMPARE(zortest::shownDialogs(),
             QStringList{QStringLiteral("message|") + caption + QLatin1Char('|') + saveFirst});

    // Saved, then changed: "mod" showing.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    zortest::fillComplete(*form);
    QVERIFY2(zortest::saveAs(*form, dir.filePath(QStringLiteral("bericht.zor"))),
             "the report could not be saved");
    const QByteArray saved = zortest::readAll(dir.filePath(QStringLiteral("bericht.zor")));
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("9"));
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "EMailSchicken");
    QCOMPARE(zortest::shownDialogs(),
             QStringList{QStringLiteral("message|") + caption + QLatin1Char('|') + saveFirst});

    // Nothing was written and nothing handed to the desktop.
    QCOMPARE(zortest::readAll(dir.filePath(QStringLiteral("bericht.zor"))), saved);
    QVERIFY(desktop.starts.isEmpty());
    QVERIFY(desktop.urls.isEmpty());
}

void TstSendWindow::sendingRewritesBothFilesThenHandsOff_data()
{
    QTest::addColumn<bool>("withXdgEmail");
    QTest::newRow("xdg-email") << true;
    QTest::newRow("mailto") << false;
}

void TstSendWindow::sendingRewritesBothFilesThenHandsOff()
{
    QFETCH(bool, withXdgEmail);
    zortest::HandOffRecorder desktop;
    if (withXdgEmail)
        desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Mein Verein"))));
    const QString report = dir.filePath(QStringLiteral("Mein Verein/bericht 2024.zor"));
    const QString companion = dir.filePath(QStringLiteral("Mein Verein/0042.zor"));
    QVERIFY2(zortest::saveAs(*form, report), "the report could not be saved");
    const QByteArray saved = zortest::readAll(report);
    QVERIFY(!saved.isEmpty());
    QCOMPARE(zortest::readAll(companion), saved);

    // Spoil the report and remove the companion: sending must put both back,
    // once the user agrees to replace what another program wrote.
    QVERIFY(zortest::writeAll(report, "verdorben\r\n"));
    QVERIFY(QFile::remove(companion));
    zortest::dialogs().clearShown();

    zortest::dialogs().primeAnswer(zor::Answer::Yes);
    zortest::trigger(*form, "EMailSchicken");

    QCOMPARE(zortest::readAll(report), saved);
    QCOMPARE(zortest::readAll(companion), saved);
    QVERIFY(!form->isModified());
    QCOMPARE(form->currentFileName(), report);

    // The question about the changed file, then the instructions, byte for
    // byte as the program words them; once the mail program is open, what to
    // check, with the offer to show the file.
    const auto &shown = zortest::dialogs().shown();
    QTRY_COMPARE(shown.size(), 3);
    QCOMPARE(shown.at(0).kind, QStringLiteral("question"));
    QCOMPARE(shown.at(1).kind, QStringLiteral("message"));
    QCOMPARE(shown.at(1).caption, caption);
    QCOMPARE(shown.at(1).text.toUtf8(),
             zor::sendInstructions(QStringLiteral(ZOR_REPORT_MAILBOX), QStringLiteral("quorvane"))
                     .toUtf8());
    const QString mailbox = QStringLiteral(ZOR_REPORT_MAILBOX);
    QCOMPARE(shown.at(2).kind, QStringLiteral("choice"));
    QCOMPARE(shown.at(2).buttons,
             (QStringList{QString::fromUtf8("Ordner \u00f6ffnen"), QStringLiteral("OK")}));
    QCOMPARE(shown.at(2).text,
             zor::mailOpenedText(mailbox, QStringLiteral("quorvane"), companion, withXdgEmail));
    // Unprimed, the box was closed with OK: no file manager was asked.
    QVERIFY(desktop.shownItems.isEmpty());
    if (withXdgEmail) {
        QCOMPARE(desktop.urls.size(), 0);
        QCOMPARE(desktop.starts.size(), 1);
        QCOMPARE(desktop.starts.at(0).program, QStringLiteral("/usr/bin/xdg-email"));
        // The attachment is the private copy, holding the companion's bytes.
        const QString copy = QDir(attachmentFolder()).filePath(QStringLiteral("0042.zor"));
        QCOMPARE(desktop.starts.at(0).arguments,
                 (QStringList{QStringLiteral("--subject"), QStringLiteral("quorvane"),
                              QStringLiteral("--attach"), copy, mailbox}));
        QCOMPARE(zortest::readAll(copy), saved);
    } else {
        QCOMPARE(desktop.starts.size(), 0);
        QCOMPARE(desktop.urls.size(), 1);
        QCOMPARE(desktop.urls.at(0).toString(QUrl::FullyEncoded),
                 QStringLiteral("mailto:") + mailbox + QStringLiteral("?subject=quorvane"));
    }
}

void TstSendWindow::sendingTellsWhenNoMailProgramStarts()
{
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    desktop.result = {zor::HandOffResult::NotStarted, -1};
    desktop.openSucceeds = false;
    QTemporaryDir dir;
    auto form = savedReport(dir);
    QVERIFY2(form, "the report could not be saved");

    zortest::trigger(*form, "EMailSchicken");

    // xdg-email failed, so the mailto: URL was tried; then the user is told.
    const auto &shown = zortest::dialogs().shown();
    QTRY_COMPARE(shown.size(), 2);
    QCOMPARE(desktop.starts.size(), 1);
    QCOMPARE(desktop.urls.size(), 1);
    const QString told = shown.at(1).text;
    QCOMPARE(shown.at(1).caption, caption);
    QVERIFY2(told.contains(QStringLiteral(ZOR_REPORT_MAILBOX))
                     && told.contains(dir.filePath(QStringLiteral("0042.zor"))),
             qPrintable(told));
}

void TstSendWindow::mailProgramExitStatusCounts_data()
{
    QTest::addColumn<int>("exitStatus");
    QTest::newRow("handed off") << 0;
    QTest::newRow("no mail program set up") << 3;
    QTest::newRow("mail program failed") << 4;
}

void TstSendWindow::mailProgramExitStatusCounts()
{
    // The real desktop, with xdg-email played by a script on PATH.
    QFETCH(int, exitStatus);
    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), exitStatus);
    QVERIFY(xdgEmail.isValid());
    QTemporaryDir dir;
    auto form = savedReport(dir);
    QVERIFY2(form, "the report could not be saved");

    zortest::trigger(*form, "EMailSchicken");

    // After the instructions, once xdg-email has ended, the user learns
    // what to check, or what to send where.
    const auto &shown = zortest::dialogs().shown();
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 15000);
    const QString mailbox = QStringLiteral(ZOR_REPORT_MAILBOX);
    const QStringList args = xdgEmail.arguments();
    QCOMPARE(args.size(), 5);
    QCOMPARE(args.at(0), QStringLiteral("--subject"));
    QCOMPARE(args.at(1), QStringLiteral("quorvane"));
    QCOMPARE(args.at(4), mailbox);
    const QString companion = dir.filePath(QStringLiteral("0042.zor"));
    QCOMPARE(shown.at(1).kind, QStringLiteral("choice"));
    if (exitStatus == 0) {
        QCOMPARE(shown.at(1).text,
                 zor::mailOpenedText(mailbox, QStringLiteral("quorvane"), companion, true));
        return;
    }
    QCOMPARE(shown.at(1).text,
             zor::mailNotStartedText(mailbox, QStringLiteral("quorvane"), companion)
                     + QStringLiteral("\n\n") + zor::folderOfferText(companion));
    QVERIFY(shown.at(1).text.contains(companion));
}

void TstSendWindow::mailProgramThatDoesNotComeBackIsNotTakenForSuccess()
{
    // xdg-email stays in the foreground while a mail program it started is
    // open: after the wait the user is told what to send in case no window came.
    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), 0, 3);
    QVERIFY(xdgEmail.isValid());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString companion = dir.filePath(QStringLiteral("0042.zor"));
    QVERIFY(zortest::writeAll(companion, "Bericht\r\n"));
    QElapsedTimer clock;
    clock.start();
    QObject context;
    QString told;
    qint64 toldAfter = -1;
    zor::handOffReport(
            zor::DesktopHandOff::current(), QStringLiteral("a@b.de"), QStringLiteral("quorvane"),
            companion, &context,
            [&](const QString &t) {
                told = t;
                toldAfter = clock.elapsed();
            },
            300);
    QTRY_VERIFY_WITH_TIMEOUT(toldAfter >= 0, 10000);
    QVERIFY2(toldAfter < 2500, "the program waited for the mail program to end");
    QCOMPARE(told, zor::mailUnconfirmedText(QStringLiteral("a@b.de"), QStringLiteral("quorvane"),
                                            companion)
                           + QStringLiteral("\n\n") + zor::folderOfferText(companion));
    QTRY_COMPARE_WITH_TIMEOUT(xdgEmail.arguments().size(), 5, 10000);
}

void TstSendWindow::folderOfferedWhateverBecameOfTheMailProgram_data()
{
    QTest::addColumn<QString>("xdgEmail");
    QTest::addColumn<int>("mailStatus");
    QTest::addColumn<int>("mailExit");
    QTest::addColumn<bool>("urlsOpen");
    QTest::addColumn<QString>("toldStart");
    QTest::addColumn<bool>("userOpensFolder");
    QTest::addColumn<bool>("fileManagerShows");
    QTest::addColumn<QString>("xdgOpen");
    QTest::addColumn<int>("openStatus");
    QTest::addColumn<int>("openExit");
    QTest::addColumn<bool>("folderShown");

    const QString email = QStringLiteral("/usr/bin/xdg-email");
    const QString open = QStringLiteral("/usr/bin/xdg-open");
    const QString opened = QString::fromUtf8("Das E-Mail-Programm wurde ge\u00f6ffnet");
    const QString failed = QStringLiteral("Das E-Mail-Programm konnte nicht gestartet werden.");
    const QString silent = QString::fromUtf8(
            "Das E-Mail-Programm hat sich nicht zur\u00fcckgemeldet.");
    using R = zor::HandOffResult;
    QTest::newRow("opened, the file manager shows the file")
            << email << int(R::Finished) << 0 << true << opened << true << true << open
            << int(R::Finished) << 0 << true;
    QTest::newRow("opened, the user says OK")
            << email << int(R::Finished) << 0 << true << opened << false << true << open
            << int(R::Finished) << 0 << true;
    QTest::newRow("opened as a mailto: URL") << QString() << 0 << 0 << true << opened << true
                                             << true << open << int(R::Finished) << 0 << true;
    QTest::newRow("mail program failed, no file manager, xdg-open shows the folder")
            << email << int(R::Finished) << 3 << true << failed << true << false << open
            << int(R::Finished) << 0 << true;
    QTest::newRow("no answer, the folder's window stays open")
            << email << int(R::StillRunning) << -1 << true << silent << true << false << open
            << int(R::StillRunning) << -1 << true;
    QTest::newRow("xdg-open fails on the folder")
            << email << int(R::Crashed) << 0 << true << failed << true << false << open
            << int(R::Finished) << 4 << false;
    QTest::newRow("nothing starts and nothing shows the folder")
            << QString() << 0 << 0 << false << failed << true << false << QString() << 0 << 0
            << false;
}

void TstSendWindow::folderOfferedWhateverBecameOfTheMailProgram()
{
    // Webmail in a browser gets no attachment: whatever the mail program
    // did, the user is offered the file in the file manager, to drag it in.
    QFETCH(QString, xdgEmail);
    QFETCH(int, mailStatus);
    QFETCH(int, mailExit);
    QFETCH(bool, urlsOpen);
    QFETCH(QString, toldStart);
    QFETCH(bool, userOpensFolder);
    QFETCH(bool, fileManagerShows);
    QFETCH(QString, xdgOpen);
    QFETCH(int, openStatus);
    QFETCH(int, openExit);
    QFETCH(bool, folderShown);
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = xdgEmail;
    desktop.xdgOpen = xdgOpen;
    desktop.resultOf.insert(xdgEmail,
                            {static_cast<zor::HandOffResult::Status>(mailStatus), mailExit});
    desktop.resultOf.insert(xdgOpen,
                            {static_cast<zor::HandOffResult::Status>(openStatus), openExit});
    desktop.openSucceeds = urlsOpen;
    desktop.fileManagerShows = fileManagerShows;
    QTemporaryDir dir;
    auto form = savedReport(dir);
    QVERIFY2(form, "the report could not be saved");
    const QString companion = dir.filePath(QStringLiteral("0042.zor"));

    zortest::dialogs().primeAnswer(zor::Answer::Ok); // the instructions
    zortest::dialogs().primeAnswer(userOpensFolder ? zor::Answer::Yes : zor::Answer::Cancel);
    zortest::trigger(*form, "EMailSchicken");

    const auto &shown = zortest::dialogs().shown();
    QTRY_VERIFY(shown.size() >= 2);
    QCOMPARE(shown.at(1).kind, QStringLiteral("choice"));
    QCOMPARE(shown.at(1).buttons,
             (QStringList{QString::fromUtf8("Ordner \u00f6ffnen"), QStringLiteral("OK")}));
    QVERIFY2(shown.at(1).text.startsWith(toldStart), qPrintable(shown.at(1).text));
    QVERIFY2(shown.at(1).text.contains(QString::fromUtf8("\u201eOrdner \u00f6ffnen\u201c zeigt")),
             qPrintable(shown.at(1).text));
    for (int i = 0; i < 5; ++i)
        zortest::idle(*form);

    QList<zortest::HandOffRecorder::Start> folderOpens;
    for (const auto &start : desktop.starts)
        if (start.program == xdgOpen && !xdgOpen.isEmpty())
            folderOpens << start;
    if (!userOpensFolder) {
        QVERIFY(desktop.shownItems.isEmpty());
        QVERIFY(folderOpens.isEmpty());
        QCOMPARE(shown.size(), 2);
        return;
    }
    // The file manager is asked for the file itself, as a file URL.
    QCOMPARE(desktop.shownItems.size(), 1);
    QCOMPARE(desktop.shownItems.at(0).size(), 1);
    QCOMPARE(QUrl(desktop.shownItems.at(0).at(0)).toLocalFile(), companion);
    if (fileManagerShows) {
        QVERIFY(folderOpens.isEmpty());
    } else if (!xdgOpen.isEmpty()) {
        // Else its folder, through xdg-open.
        QCOMPARE(folderOpens.size(), 1);
        QCOMPARE(folderOpens.at(0).arguments.size(), 1);
        QCOMPARE(QUrl(folderOpens.at(0).arguments.at(0)).toLocalFile(), dir.path());
    } else {
        QCOMPARE(desktop.urls.last(), QUrl::fromLocalFile(dir.path()));
    }
    if (folderShown) {
        QCOMPARE(shown.size(), 2);
    } else {
        // Nothing showed it: the user is told where the file lies.
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(2).text, zor::folderNotShownText(companion));
        QVERIFY(shown.at(2).text.contains(companion));
    }
}

void TstSendWindow::windowTakesInputWhileTheMailProgramStarts()
{
    // A mail program's first start may take long; xdg-email stays until it
    // is up. Meanwhile the window takes input, and what to tell comes when
    // xdg-email has ended.
    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), 0, 2);
    QVERIFY(xdgEmail.isValid());
    QTemporaryDir dir;
    auto form = savedReport(dir);
    QVERIFY2(form, "the report could not be saved");
    QAction *send = zortest::action(*form, "EMailSchicken");

    QElapsedTimer clock;
    clock.start();
    zortest::trigger(*form, "EMailSchicken");
    const qint64 returnedAfter = clock.elapsed();
    QVERIFY2(returnedAfter < 1000,
             qPrintable(QStringLiteral("the window was held for %1 ms").arg(returnedAfter)));
    QCOMPARE(zortest::dialogs().shown().size(), 1); // the instructions
    // One sending at a time, and a pointer that says something is starting.
    QVERIFY(!send->isEnabled());
    QCOMPARE(form->cursor().shape(), Qt::BusyCursor);

    // The event loop runs: timers fire on time and keys reach the fields.
    qint64 last = clock.elapsed();
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(20);
    QLineEdit *fax = zortest::field(*form, Field::Fax);
    QTest::qWait(300);
    zortest::typeInto(fax, QStringLiteral("0815"));
    QTRY_COMPARE_WITH_TIMEOUT(zortest::dialogs().shown().size(), 2, 15000);
    const qint64 toldAfter = clock.elapsed();
    tick.stop();

    QVERIFY2(fax->text().contains(QStringLiteral("0815")), qPrintable(fax->text()));
    QVERIFY(form->isModified());
    QVERIFY2(longestGap < 500, qPrintable(QStringLiteral("events waited %1 ms").arg(longestGap)));
    // Told once xdg-email had ended, not before.
    QVERIFY2(toldAfter >= 1800, qPrintable(QStringLiteral("told after %1 ms").arg(toldAfter)));
    QCOMPARE(zortest::dialogs().shown().at(1).text,
             zor::mailOpenedText(QStringLiteral(ZOR_REPORT_MAILBOX), QStringLiteral("quorvane"),
                                 dir.filePath(QStringLiteral("0042.zor")), true));
    QVERIFY(send->isEnabled());
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(xdgEmail.arguments().size(), 5);
}

void TstSendWindow::attachmentPathIsPlainWhateverTheReportFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("apostrophe") << QStringLiteral("Vereins' Meldung");
    QTest::newRow("comma") << QStringLiteral("Judo, Abteilung");
    QTest::newRow("both, with a compose key") << QStringLiteral("a',attachment='x");
}

void TstSendWindow::attachmentPathIsPlainWhateverTheReportFolder()
{
    // Thunderbird's compose line takes ' and , as its own quotes and
    // separators; the attached path must hold neither.
    QFETCH(QString, folder);
    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), 0);
    QVERIFY(xdgEmail.isValid());
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(folder)));
    const QString report = dir.filePath(folder + QStringLiteral("/bericht, 2024's.zor"));
    QVERIFY2(zortest::saveAs(*form, report), "the report could not be saved");
    zortest::dialogs().clearShown();

    zortest::trigger(*form, "EMailSchicken");

    QTRY_COMPARE_WITH_TIMEOUT(zortest::dialogs().shown().size(), 2, 15000);
    const QStringList args = xdgEmail.arguments();
    QCOMPARE(args.size(), 5);
    QCOMPARE(args.at(2), QStringLiteral("--attach"));
    const QString attached = args.at(3);
    QVERIFY2(zor::isPlainPath(attached), qPrintable(attached));
    QCOMPARE(attached, QDir(attachmentFolder()).filePath(QStringLiteral("0042.zor")));
    QCOMPARE(zortest::readAll(attached),
             zortest::readAll(dir.filePath(folder + QStringLiteral("/0042.zor"))));
    // Only the user can look into the folder.
    QCOMPARE(QFileInfo(attachmentFolder()).permissions()
                     & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
}

void TstSendWindow::attachmentLeftOutWhenNoPlainCopyCanBeMade()
{
    // A runtime directory whose own name could be misread: nothing is
    // attached, and the user is told to attach the file by hand.
    QTemporaryDir odd;
    QVERIFY(odd.isValid());
    const QString runtime = odd.filePath(QStringLiteral("lauf,zeit"));
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ExeOwner));
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", oldRuntime); });

    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), 0);
    QVERIFY(xdgEmail.isValid());
    QTemporaryDir dir;
    auto form = savedReport(dir);
    QVERIFY2(form, "the report could not be saved");

    zortest::trigger(*form, "EMailSchicken");

    QTRY_COMPARE_WITH_TIMEOUT(zortest::dialogs().shown().size(), 2, 15000);
    QCOMPARE(xdgEmail.arguments(),
             (QStringList{QStringLiteral("--subject"), QStringLiteral("quorvane"),
                          QStringLiteral(ZOR_REPORT_MAILBOX)}));
    const QString told = zortest::dialogs().shown().at(1).text;
    QVERIFY2(told.contains(dir.filePath(QStringLiteral("0042.zor")))
                     && told.contains(QStringLiteral("ohne Anhang")),
             qPrintable(told));
    QVERIFY(!QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("zor-quorvane"))));
}

void TstSendWindow::realXdgEmailGivesThunderbirdOneAttachment()
{
    // Debian's own xdg-email on a desktop it does not know, with Thunderbird
    // as the mail handler: it writes the attachment into Thunderbird's
    // compose line between single quotes, after a comma. The companion lies
    // in a folder whose name holds both; the line must still name one file.
    const QString xdgEmail = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (xdgEmail.isEmpty())
        QSKIP("xdg-email is not installed");
    QTemporaryDir home;
    QVERIFY(home.isValid());
    zortest::StandInProgram thunderbird(QStringLiteral("thunderbird"), 0);
    QVERIFY(thunderbird.isValid());
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("data/applications"))));
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("config"))));
    QVERIFY(zortest::writeAll(
            home.filePath(QStringLiteral("data/applications/thunderbird.desktop")),
            "[Desktop Entry]\nType=Application\nName=Thunderbird\nExec="
                    + thunderbird.path().toUtf8() + " %u\nMimeType=x-scheme-handler/mailto;\n"));
    QVERIFY(zortest::writeAll(
            home.filePath(QStringLiteral("config/mimeapps.list")),
            "[Default Applications]\nx-scheme-handler/mailto=thunderbird.desktop\n"));
    QList<QPair<const char *, QByteArray>> saved;
    const auto setEnv = [&saved](const char *name, const QByteArray &value) {
        saved.append({name, qgetenv(name)});
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    const auto restore = qScopeGuard([&saved] {
        for (auto it = saved.crbegin(); it != saved.crend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first);
            else
                qputenv(it->first, it->second);
        }
    });
    setEnv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    setEnv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    setEnv("XDG_DATA_DIRS", home.filePath(QStringLiteral("data")).toLocal8Bit());
    for (const char *desktopVar :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
          "MATE_DESKTOP_SESSION_ID", "MAILER", "DISPLAY", "WAYLAND_DISPLAY"})
        setEnv(desktopVar, QByteArray());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Verein's, Judo"));
    QVERIFY(QDir().mkpath(folder));
    const QString companion = QDir(folder).filePath(QStringLiteral("0042.zor"));
    QVERIFY(zortest::writeAll(companion, "Bericht\r\n"));

    QObject context;
    QString told;
    zor::handOffReport(zor::DesktopHandOff::current(), QStringLiteral("a@b.de"),
                       QStringLiteral("quorvane"), companion, &context,
                       [&told](const QString &t) { told = t; });
    QTRY_VERIFY_WITH_TIMEOUT(!told.isEmpty(), 15000);
    QCOMPARE(told, zor::mailOpenedText(QStringLiteral("a@b.de"), QStringLiteral("quorvane"),
                                       companion, true));
    const QStringList args = thunderbird.arguments();
    QCOMPARE(args.size(), 2);
    QCOMPARE(args.at(0), QStringLiteral("-compose"));
    const QString compose = args.at(1);
    const QString copy = QDir(attachmentFolder()).filePath(QStringLiteral("0042.zor"));
    QVERIFY2(compose.contains(QStringLiteral("attachment='") + copy + QLatin1Char('\'')),
             qPrintable(compose));
    QCOMPARE(compose.count(QStringLiteral("attachment=")), 1);
    QVERIFY2(compose.count(QLatin1Char('\'')) == 4,
             qPrintable(compose)); // to='...' and attachment='...'
}

void TstSendWindow::helpViewerExitStatusCounts()
{
    auto form = zortest::makeForm();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath(QStringLiteral("Hilfe, 'neu'/zorhelp.htm"));
    QVERIFY(QDir().mkpath(QFileInfo(page).absolutePath()));
    QVERIFY(zortest::writeAll(page, "<html></html>"));
    form->setHelpFile(page);

    {
        zortest::StandInProgram xdgOpen(QStringLiteral("xdg-open"), 0);
        QVERIFY(xdgOpen.isValid());
        zortest::trigger(*form, "HilfeInhalt");
        QTRY_COMPARE_WITH_TIMEOUT(xdgOpen.arguments().size(), 1, 10000);
        zortest::idle(*form);
        QVERIFY(zortest::dialogs().shown().isEmpty());
        QCOMPARE(QUrl(xdgOpen.arguments().at(0)).toLocalFile(), page);
    }
    {
        // xdg-open's answer when no viewer takes HTML pages.
        zortest::StandInProgram xdgOpen(QStringLiteral("xdg-open"), 3);
        QVERIFY(xdgOpen.isValid());
        zortest::trigger(*form, "HilfeInhalt");
        QTRY_COMPARE_WITH_TIMEOUT(zortest::dialogs().shown().size(), 1, 10000);
        QCOMPARE(xdgOpen.arguments().size(), 1);
        QCOMPARE(zortest::dialogs().shown().at(0).caption, caption);
        QVERIFY2(zortest::dialogs().shown().at(0).text.contains(page),
                 qPrintable(zortest::dialogs().shown().at(0).text));
    }
}

void TstSendWindow::realDesktopPassesArgumentsVerbatim()
{
    // No shell in between: a name with blanks, quotes, a semicolon and a
    // command substitution reaches the program as one argument.
    zor::DesktopHandOff &desktop = zor::DesktopHandOff::current();
    const QString touch = desktop.findProgram(QStringLiteral("touch"));
    QVERIFY2(!touch.isEmpty(), "touch is not on PATH");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString odd = dir.filePath(QStringLiteral("0042 \"x\"; touch boese $(touch boese2).zor"));
    QObject context;
    std::optional<zor::HandOffResult> ended;
    desktop.start(touch, {odd}, 10000, &context, [&ended](zor::HandOffResult r) { ended = r; });
    QTRY_VERIFY_WITH_TIMEOUT(ended.has_value(), 10000);
    const zor::HandOffResult r = *ended;
    QCOMPARE(r.status, zor::HandOffResult::Finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QFileInfo::exists(odd));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(odd).fileName()});
    QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("boese"))));
}

void TstSendWindow::helpPageOpensAsFileUrl()
{
    zortest::HandOffRecorder desktop;
    auto form = zortest::makeForm();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Hilfe und; \"Zitat\" & #1"));
    QVERIFY(QDir().mkpath(folder));
    const QString page = QDir(folder).filePath(QStringLiteral("zorhelp.htm"));
    QVERIFY(zortest::writeAll(page, "<html></html>"));
    QVERIFY(zortest::writeAll(dir.filePath(QStringLiteral("zorhelp.htm")), "falsch"));
    form->setHelpFile(page);

    zortest::trigger(*form, "HilfeInhalt");
    zortest::idle(*form);

    QVERIFY(zortest::dialogs().shown().isEmpty());
    QVERIFY(desktop.starts.isEmpty());
    QCOMPARE(desktop.urls.size(), 1);
    const QString encoded = desktop.urls.at(0).toString(QUrl::FullyEncoded);
    QVERIFY2(encoded.startsWith(QLatin1String("file:///")), qPrintable(encoded));
    QVERIFY2(!encoded.contains(QLatin1Char(' ')) && !encoded.contains(QLatin1Char('"')),
             qPrintable(encoded));
    // What a viewer makes of the URL is the page, with every odd character kept.
    QCOMPARE(QUrl(encoded).toLocalFile(), page);
}

void TstSendWindow::helpPageFallsBackToInstalledCopy()
{
    zortest::HandOffRecorder desktop;
    auto form = zortest::makeForm();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString installed = dir.filePath(QStringLiteral("share/zor-quorvane/zorhelp.htm"));
    QVERIFY(QDir().mkpath(QFileInfo(installed).absolutePath()));
    QVERIFY(zortest::writeAll(installed, "<html></html>"));
    desktop.helpPages = {dir.filePath(QStringLiteral("fehlt/zorhelp.htm")), installed};
    form->setHelpFile(dir.filePath(QStringLiteral("start/zorhelp.htm")));

    zortest::trigger(*form, "HilfeInhalt");
    zortest::idle(*form);
    QVERIFY(zortest::dialogs().shown().isEmpty());
    QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(installed)});

    // No page anywhere: the user is told, nothing is opened.
    desktop.urls.clear();
    desktop.helpPages = {dir.filePath(QStringLiteral("fehlt/zorhelp.htm"))};
    zortest::trigger(*form, "HilfeInhalt");
    QVERIFY(desktop.urls.isEmpty());
    QCOMPARE(zortest::dialogs().shown().size(), 1);
    QCOMPARE(zortest::dialogs().shown().at(0).caption, caption);
    QVERIFY2(zortest::dialogs().shown().at(0).text.contains(QStringLiteral("zorhelp.htm")),
             qPrintable(zortest::dialogs().shown().at(0).text));

    // A page that no viewer takes is reported as well.
    zortest::dialogs().clearShown();
    desktop.helpPages = {installed};
    desktop.openSucceeds = false;
    zortest::trigger(*form, "HilfeInhalt");
    QTRY_COMPARE(zortest::dialogs().shown().size(), 1);
    QCOMPARE(desktop.urls.size(), 1);
    QVERIFY(zortest::dialogs().shown().at(0).text.contains(installed));
}

void TstSendWindow::helpPageNamesEveryMenuEntryAndButton()
{
    // The help page is held to the window: every menu entry is named on it,
    // and its list of the buttons on the left is the toolbar, in order.
    const QString html = QString::fromUtf8(zortest::readAll(QStringLiteral(ZOR_BUILT_HELP_PAGE)));
    QVERIFY2(!html.isEmpty(), ZOR_BUILT_HELP_PAGE);
    QTextDocument doc;
    doc.setHtml(html);
    const QString page = doc.toPlainText().simplified();
    const auto name = [](const QAction *a) { return a->text().remove(QLatin1Char('&')); };

    auto form = zortest::makeForm();
    QStringList entries;
    for (QAction *menuAction : form->menuBar()->actions()) {
        QVERIFY(menuAction->menu());
        entries << name(menuAction);
        for (QAction *a : menuAction->menu()->actions())
            if (!a->isSeparator())
                entries << name(a);
    }
    QVERIFY2(entries.size() >= 15, qPrintable(entries.join(u'|')));
    QStringList missing;
    for (const QString &e : entries)
        if (!page.contains(e))
            missing << e;
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not on the help page: ")
                                           + missing.join(QStringLiteral(", "))));

    const QList<QToolBar *> bars = form->findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 1);
    QStringList buttons;
    for (QAction *a : bars.first()->actions())
        if (!a->isSeparator())
            buttons << name(a);
    const QRegularExpression list(QStringLiteral("<ul id=\"knoepfe\">(.*?)</ul>"),
                                  QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = list.match(html);
    QVERIFY2(m.hasMatch(), "the help page has no list of the buttons");
    QStringList named;
    const QRegularExpression item(QStringLiteral("<li><b>(.*?)</b>"));
    for (auto it = item.globalMatch(m.captured(1)); it.hasNext();)
        named << it.next().captured(1);
    QCOMPARE(named, buttons);
}

void TstSendWindow::fileNamedOnCommandLineIsOpened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Doppelklick auf Bericht.zor"));
    QVERIFY(zortest::writeAll(path, zortest::crlfLines({"Sportverein Beispielhausen",
                                                        "0042",
                                                        "Kx9",
                                                        "Anna",
                                                        "Meier",
                                                        "Weg 3",
                                                        "54321",
                                                        "Ort",
                                                        "01234567",
                                                        "-",
                                                        "-",
                                                        "-",
                                                        "-",
                                                        "54321",
                                                        "-",
                                                        "-",
                                                        "6 0 0",
                                                        "14 1 0",
                                                        "18 0 0",
                                                        "26 3 2",
                                                        "40 0 0",
                                                        "60 0 0",
                                                        "500 5 0",
                                                        "Meier;Anna;3"})));

    auto form = zortest::makeForm();
    // A changed report: the question comes first, and Cancel keeps everything.
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("1"));
    zortest::dialogs().primeAnswer(zor::Answer::Cancel);
    form->openFromCommandLine(path);
    QCOMPARE(zortest::shownDialogs().size(), 1);
    QVERIFY(form->currentFileName().isEmpty());
    QCOMPARE(zortest::field(*form, Field::Fax)->text(), QStringLiteral("1"));

    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(zor::Answer::No);
    form->openFromCommandLine(path);
    QCOMPARE(form->currentFileName(), path);
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(),
             QStringLiteral("Sportverein Beispielhausen"));
    QCOMPARE(zortest::nummer(*form)->text(), QStringLiteral("0042"));
    QCOMPARE(zortest::zahlen(*form)->cellText(4, 2), QStringLiteral("2"));
    QCOMPARE(form->currentReport().masters, QStringList{QStringLiteral("Meier;Anna;3")});
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("11"));
    QVERIFY(!form->isModified());
}

QTEST_MAIN(TstSendWindow)
#include "tst_sendwindow.moc"
