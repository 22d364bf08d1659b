// Sending, the help page, the about box and a file named on the command line,
// driven through the real window.

#include "tests/send/handoffrecorder.h"
#include "tests/support/formfixture.h"
#include "tests/support/testfiles.h"

#include "entry/zahlengrid.h"
#include "send/sending.h"
#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui_tsdiappform.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using zor::Field;

namespace {

const QString caption = QStringLiteral("ZOR-Quorvane");
const QString saveFirst = QStringLiteral("Die aktuelle Quorvane muss zuerst gespeichert werden !");

// A report that passes the check before saving.
void fillComplete(TSDIAppForm &form)
{
    form.field(Field::Vereinsname)->setText(QString::fromUtf8("Budoverein Kelvaro Süd"));
    form.nummer()->setText(QStringLiteral("0042"));
    form.field(Field::Code)->setText(QStringLiteral("xY7q"));
    form.field(Field::AVName)->setText(QStringLiteral("Anna"));
    form.field(Field::ANName)->setText(QString::fromUtf8("Müller"));
    form.field(Field::Strasse)->setText(QStringLiteral("Hauptstr. 1"));
    form.field(Field::Plz)->setText(QStringLiteral("12345"));
    form.field(Field::Ort)->setText(QStringLiteral("Beispielstadt"));
    form.field(Field::Tel)->setText(QStringLiteral("0123 456789"));
    form.field(Field::DPlz)->setText(QStringLiteral("12345"));
    form.zahlen()->setCellText(4, 1, QStringLiteral("3"));
    form.zahlen()->setCellText(4, 2, QStringLiteral("2"));
    form.UpdateSums();
}

// Saves through Save As with the name primed; true when the report is on disk
// and the window counts it as saved.
bool saveAs(TSDIAppForm &form, const QString &path)
{
    zor::Dialogs::primeFile(path);
    form.FileSaveAs1Execute();
    return form.Modified == 0 && form.currentFileName() == path && QFile::exists(path);
}

} // namespace

class TstSendWindow : public QObject
{
    Q_OBJECT

private slots:
    void sendingRefusedUntilSaved();
    void sendingRewritesBothFilesThenHandsOff_data();
    void sendingRewritesBothFilesThenHandsOff();
    void sendingTellsWhenNoMailProgramStarts();
    void realDesktopPassesArgumentsVerbatim();
    void helpPageOpensAsFileUrl();
    void helpPageFallsBackToInstalledCopy();
    void aboutBoxShownModally();
    void fileNamedOnCommandLineIsOpened();
};

void TstSendWindow::sendingRefusedUntilSaved()
{
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    auto form = zortest::makeForm();

    // Never saved.
    form->form()->EMailSchicken->trigger();
    QCOMPARE(zortest::shownDialogs(), QStringList{QStringLiteral("message|") + caption + QLatin1Char('|') + saveFirst});

    // Saved, then changed: "mod" showing.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    fillComplete(*form);
    QVERIFY2(saveAs(*form, dir.filePath(QStringLiteral("bericht.zor"))), "the report could not be saved");
    const QByteArray saved = zortest::readAll(dir.filePath(QStringLiteral("bericht.zor")));
    zortest::typeInto(form->field(Field::Fax), QStringLiteral("9"));
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
    zor::Dialogs::clearShown();
    form->EMailSchickenExecute();
    QCOMPARE(zortest::shownDialogs(), QStringList{QStringLiteral("message|") + caption + QLatin1Char('|') + saveFirst});

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
    fillComplete(*form);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Mein Verein"))));
    const QString report = dir.filePath(QStringLiteral("Mein Verein/bericht 2024.zor"));
    const QString companion = dir.filePath(QStringLiteral("Mein Verein/0042.zor"));
    QVERIFY2(saveAs(*form, report), "the report could not be saved");
    const QByteArray saved = zortest::readAll(report);
    QVERIFY(!saved.isEmpty());
    QCOMPARE(zortest::readAll(companion), saved);

    // Spoil the report and remove the companion: sending must put both back,
    // once the user agrees to replace what another program wrote.
    QVERIFY(zortest::writeAll(report, "verdorben\r\n"));
    QVERIFY(QFile::remove(companion));
    zor::Dialogs::clearShown();

    zor::Dialogs::primeAnswer(zor::Answer::Yes);
    form->form()->EMailSchicken->trigger();

    QCOMPARE(zortest::readAll(report), saved);
    QCOMPARE(zortest::readAll(companion), saved);
    QCOMPARE(form->Modified, static_cast<unsigned char>(0));
    QCOMPARE(form->currentFileName(), report);

    // The question about the changed file, then the instructions, byte for
    // byte as the program words them.
    const auto &shown = zor::Dialogs::shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).kind, QStringLiteral("question"));
    QCOMPARE(shown.at(1).kind, QStringLiteral("message"));
    QCOMPARE(shown.at(1).caption, caption);
    QCOMPARE(shown.at(1).text.toUtf8(),
             zor::sendInstructions(QStringLiteral(ZOR_REPORT_MAILBOX), QStringLiteral("quorvane")).toUtf8());

    const QString mailbox = QStringLiteral(ZOR_REPORT_MAILBOX);
    if (withXdgEmail) {
        QCOMPARE(desktop.urls.size(), 0);
        QCOMPARE(desktop.starts.size(), 1);
        QCOMPARE(desktop.starts.at(0).program, QStringLiteral("/usr/bin/xdg-email"));
        QCOMPARE(desktop.starts.at(0).arguments,
                 (QStringList{QStringLiteral("--subject"), QStringLiteral("quorvane"),
                              QStringLiteral("--attach"), companion, mailbox}));
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
    desktop.startSucceeds = false;
    desktop.openSucceeds = false;
    auto form = zortest::makeForm();
    fillComplete(*form);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY2(saveAs(*form, dir.filePath(QStringLiteral("bericht.zor"))), "the report could not be saved");
    zor::Dialogs::clearShown();

    form->EMailSchickenExecute();

    // xdg-email failed, so the mailto: URL was tried; then the user is told.
    QCOMPARE(desktop.starts.size(), 1);
    QCOMPARE(desktop.urls.size(), 1);
    const auto &shown = zor::Dialogs::shown();
    QCOMPARE(shown.size(), 2);
    const QString told = shown.at(1).text;
    QCOMPARE(shown.at(1).caption, caption);
    QVERIFY2(told.contains(QStringLiteral(ZOR_REPORT_MAILBOX))
                 && told.contains(dir.filePath(QStringLiteral("0042.zor"))),
             qPrintable(told));
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
    QVERIFY(desktop.startDetached(touch, {odd}));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(odd), 10000);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QFileInfo(odd).fileName()});
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

    form->form()->HilfeInhalt->trigger();

    QVERIFY(zor::Dialogs::shown().isEmpty());
    QVERIFY(desktop.starts.isEmpty());
    QCOMPARE(desktop.urls.size(), 1);
    const QString encoded = desktop.urls.at(0).toString(QUrl::FullyEncoded);
    QVERIFY2(encoded.startsWith(QLatin1String("file:///")), qPrintable(encoded));
    QVERIFY2(!encoded.contains(QLatin1Char(' ')) && !encoded.contains(QLatin1Char('"')), qPrintable(encoded));
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

    form->HilfeInhaltExecute();
    QVERIFY(zor::Dialogs::shown().isEmpty());
    QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(installed)});

    // No page anywhere: the user is told, nothing is opened.
    desktop.urls.clear();
    desktop.helpPages = {dir.filePath(QStringLiteral("fehlt/zorhelp.htm"))};
    form->HilfeInhaltExecute();
    QVERIFY(desktop.urls.isEmpty());
    QCOMPARE(zor::Dialogs::shown().size(), 1);
    QCOMPARE(zor::Dialogs::shown().at(0).caption, caption);
    QVERIFY2(zor::Dialogs::shown().at(0).text.contains(QStringLiteral("zorhelp.htm")),
             qPrintable(zor::Dialogs::shown().at(0).text));

    // A page that no viewer takes is reported as well.
    zor::Dialogs::clearShown();
    desktop.helpPages = {installed};
    desktop.openSucceeds = false;
    form->HilfeInhaltExecute();
    QCOMPARE(desktop.urls.size(), 1);
    QCOMPARE(zor::Dialogs::shown().size(), 1);
    QVERIFY(zor::Dialogs::shown().at(0).text.contains(installed));
}

void TstSendWindow::aboutBoxShownModally()
{
    auto form = zortest::makeForm();
    bool shownModal = false;
    // exec() blocks: look at the box from inside its own loop, then close it.
    QTimer::singleShot(0, form.get(), [&] {
        TAboutBox *box = form->aboutBox();
        shownModal = box->isVisible() && box->isModal();
        box->accept();
    });
    form->form()->HelpAbout1->trigger();
    QVERIFY(shownModal);
    QVERIFY(!form->aboutBox()->isVisible());
}

void TstSendWindow::fileNamedOnCommandLineIsOpened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Doppelklick auf Bericht.zor"));
    QVERIFY(zortest::writeAll(
        path, zortest::crlfLines({"Sportverein Beispielhausen", "0042", "Kx9", "Anna", "Meier",
                                  "Weg 3", "54321", "Ort", "01234567", "-", "-", "-", "-",
                                  "54321", "-", "-", "6 0 0", "14 1 0", "18 0 0", "26 3 2",
                                  "40 0 0", "60 0 0", "500 5 0", "Meier;Anna;3"})));

    auto form = zortest::makeForm();
    // A changed report: the question comes first, and Cancel keeps everything.
    zortest::typeInto(form->field(Field::Fax), QStringLiteral("1"));
    zor::Dialogs::primeAnswer(zor::Answer::Cancel);
    form->openFromCommandLine(path);
    QCOMPARE(zortest::shownDialogs().size(), 1);
    QVERIFY(form->currentFileName().isEmpty());
    QCOMPARE(form->field(Field::Fax)->text(), QStringLiteral("1"));

    zor::Dialogs::clearShown();
    zor::Dialogs::primeAnswer(zor::Answer::No);
    form->openFromCommandLine(path);
    QCOMPARE(form->currentFileName(), path);
    QCOMPARE(form->field(Field::Vereinsname)->text(), QStringLiteral("Sportverein Beispielhausen"));
    QCOMPARE(form->nummer()->text(), QStringLiteral("0042"));
    QCOMPARE(form->zahlen()->cellText(4, 2), QStringLiteral("2"));
    QCOMPARE(form->masters(), QStringList{QStringLiteral("Meier;Anna;3")});
    QCOMPARE(form->sumLabel("AllSum")->text(), QStringLiteral("11"));
    QCOMPARE(form->Modified, static_cast<unsigned char>(0));
}

QTEST_MAIN(TstSendWindow)
#include "tst_sendwindow.moc"
