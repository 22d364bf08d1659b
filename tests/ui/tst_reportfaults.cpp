// What the user typed or saved survives real faults, through the real window:
// a full disk, a companion name that is a link or a folder, files that are no
// files, a file changed by another program, values longer than a line edit's
// default, and the flows that must not drop an unsaved report.

#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"
#include "tests/support/formfixture.h"
#include "tests/support/handoffrecorder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/smalldisk.h"
#include "tests/support/testfiles.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

using zor::Answer;
using zor::Field;

namespace {

const QString diskFull = QStringLiteral("Der Datentr\u00e4ger ist voll.");

// Everything of the report a user could lose, to compare before and after.
struct Snapshot
{
    zor::Report report;
    QString fileName;
    unsigned char modified;

    static Snapshot of(const TSDIAppForm &form)
    {
        return {form.currentReport(), form.currentFileName(), form.isModified()};
    }
    bool operator==(const Snapshot &o) const
    {
        return report == o.report && fileName == o.fileName && modified == o.modified;
    }
};

bool anyShown(const QString &kind, const QString &part)
{
    for (const auto &d : zortest::dialogs().shown()) {
        if (d.kind == kind && d.text.contains(part))
            return true;
    }
    return false;
}

QString shownText()
{
    return zortest::shownDialogs().join(QStringLiteral("\n---\n"));
}

} // namespace

class TstReportFaults : public QObject
{
    Q_OBJECT

private slots:
    void fullDisk_everyWriteIsReportedAndLosesNothing();
    void sendingThatCannotWriteAgain_saysSoAndWhetherItIsSaved_data();
    void sendingThatCannotWriteAgain_saysSoAndWhetherItIsSaved();
    void companionUnderALinkOrFolder_isLeftAloneAndSaid();
    void failedOpen_changesNothing();
    void newAndOpen_stopWhenTheYesSaveDidNotHappen();
    void fileChangedByAnotherProgram_isAskedAbout();
    void longValues_surviveOpenAndSave();
    void saveDialog_refusesAFolderThatDoesNotExist();
};

void TstReportFaults::fullDisk_everyWriteIsReportedAndLosesNothing()
{
    ZORTEST_SMALL_DISK(disk, 512 * 1024);
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    const QString folder = disk.filePath(QStringLiteral("verein"));
    QVERIFY(QDir().mkpath(folder));
    const QString report = folder + QStringLiteral("/bericht.zor");
    const QString companion = folder + QStringLiteral("/0042.zor");
    const QString pdf = folder + QStringLiteral("/bericht.pdf");

    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    QVERIFY(zortest::saveAs(*form, report));
    const QByteArray saved = zortest::readAll(report);
    QCOMPARE(zortest::readAll(companion), saved);
    QVERIFY(zortest::writeAll(pdf, "%PDF alt"));

    // Long enough to cross Qt's 16 KB write buffer.
    QStringList masters;
    for (int i = 0; i < 1500; ++i)
        masters << QStringLiteral("Meister%1;Vorname;%2")
                           .arg(i, 4, 10, QLatin1Char('0'))
                           .arg(i % 10 + 1);
    QVERIFY(disk.leaveFree(0));

    // Sending rewrites both files first: it fails, and nothing is offered.
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "EMailSchicken");
    QVERIFY2(anyShown(QStringLiteral("warning"), diskFull), qPrintable(shownText()));
    QVERIFY2(!anyShown(QStringLiteral("message"), QStringLiteral("verschickt werden")),
             qPrintable(shownText()));
    // Said as it is: not sent, and the report still saved as before.
    for (const char *said : {"nicht abgesendet", "weiterhin so gespeichert wie zuletzt"})
        QVERIFY2(anyShown(QStringLiteral("warning"), QString::fromUtf8(said)),
                 qPrintable(shownText()));
    QVERIFY2(!anyShown(QStringLiteral("warning"), QStringLiteral("noch nicht gespeichert")),
             qPrintable(shownText()));
    QVERIFY(!form->isModified());
    QVERIFY(desktop.starts.isEmpty());
    QVERIFY(desktop.urls.isEmpty());

    zortest::setMasters(*form, masters);
    form->setModified(true);
    const Snapshot before = Snapshot::of(*form);

    // Save: the message says what happened; file, report and "mod" stay.
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "FileSave1");
    QVERIFY2(anyShown(QStringLiteral("warning"), diskFull), qPrintable(shownText()));
    QVERIFY(anyShown(QStringLiteral("warning"), QDir::toNativeSeparators(report)));
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "FileSave1");
    QVERIFY(anyShown(QStringLiteral("warning"), diskFull));
    QVERIFY(Snapshot::of(*form) == before);
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));

    // Save As under a new name: nothing appears.
    zortest::dialogs().clearShown();
    QVERIFY(!zortest::saveAs(*form, folder + QStringLiteral("/neu.zor")));
    QVERIFY(anyShown(QStringLiteral("warning"), diskFull));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/neu.zor")));
    form->setCurrentFileName(report);

    // "&Ja" of the close query: the save fails, so the window stays open.
    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::Yes);
    form->close();
    QVERIFY(form->isVisible());
    QVERIFY(anyShown(QStringLiteral("warning"), diskFull));
    QVERIFY(Snapshot::of(*form) == before);

    // The PDF: reported, the old one intact.
    zortest::dialogs().clearShown();
    zortest::dialogs().primeFile(pdf);
    zortest::trigger(*form, "FileSavePdf");
    QVERIFY2(anyShown(QStringLiteral("message"), diskFull), qPrintable(shownText()));
    QVERIFY2(anyShown(QStringLiteral("message"),
                      QStringLiteral("\u201e%1\u201c").arg(QDir::toNativeSeparators(pdf))),
             qPrintable(shownText()));
    QCOMPARE(zortest::readAll(pdf), QByteArray("%PDF alt"));

    QCOMPARE(zortest::readAll(report), saved);
    QCOMPARE(zortest::readAll(companion), saved);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("0042.zor"), QStringLiteral("bericht.pdf"),
                          QStringLiteral("bericht.zor")}));
    form->setModified(false); // let the window close
}

void TstReportFaults::sendingThatCannotWriteAgain_saysSoAndWhetherItIsSaved_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("said"); // besides "nicht abgesendet"
    QTest::addColumn<bool>("stillSaved");
    QTest::newRow("folder gone") << "folder" << QStringList{"in keiner Datei mehr gespeichert"}
                                 << false;
    QTest::newRow("changed by another program, kept") << "theirs" << QStringList() << false;
    QTest::newRow("companion is a folder")
            << "companion" << QStringList{"Begleitdatei", "Ordner"} << true;
}

void TstReportFaults::sendingThatCannotWriteAgain_saysSoAndWhetherItIsSaved()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, said);
    QFETCH(bool, stillSaved);
    QTemporaryDir dir;
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    const QString folder = dir.filePath(QStringLiteral("verein"));
    QVERIFY(QDir().mkpath(folder));
    const QString report = folder + QStringLiteral("/bericht.zor");
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    QVERIFY(zortest::saveAs(*form, report));
    const QByteArray saved = zortest::readAll(report);

    if (fault == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("verein"), QStringLiteral("weg")));
    if (fault == QLatin1String("theirs"))
        QVERIFY(zortest::writeAll(report, "von einem anderen Programm\r\n"));
    if (fault == QLatin1String("companion")) {
        QVERIFY(QFile::remove(folder + QStringLiteral("/0042.zor")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/0042.zor")));
    }

    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::No); // to the question about the other program's file
    zortest::trigger(*form, "EMailSchicken");
    for (const QString &part : said + QStringList{QStringLiteral("nicht abgesendet")})
        QVERIFY2(shownText().contains(part), qPrintable(part + QLatin1Char('\n') + shownText()));
    QVERIFY2(!shownText().contains(QStringLiteral("noch nicht gespeichert")),
             qPrintable(shownText()));
    QVERIFY2(!shownText().contains(QStringLiteral("verschickt werden")), qPrintable(shownText()));
    QVERIFY(desktop.starts.isEmpty() && desktop.urls.isEmpty());
    if (stillSaved)
        QCOMPARE(zortest::readAll(report), saved); // a refused companion left the report as it was
    // "mod" tells whether the report is still in a file: closing asks when it is not.
    QCOMPARE(form->isModified(), !stillSaved);
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), stillSaved ? QString() : QStringLiteral("mod"));
    form->setModified(false);
}

void TstReportFaults::companionUnderALinkOrFolder_isLeftAloneAndSaid()
{
    QTemporaryDir dir;
    zortest::HandOffRecorder desktop;
    desktop.xdgEmail = QStringLiteral("/usr/bin/xdg-email");
    const QString report = dir.filePath(QStringLiteral("bericht.zor"));
    const QString companion = dir.filePath(QStringLiteral("0042.zor"));
    const QString elsewhere = dir.filePath(QStringLiteral("fremd.txt"));
    QVERIFY(zortest::writeAll(elsewhere, "nicht anfassen\n"));
    QVERIFY(QFile::link(elsewhere, companion));

    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    QVERIFY(zortest::saveAs(*form, report)); // the report itself is saved
    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 2); // the save dialog, then one warning
    QVERIFY2(shown[1].startsWith(QStringLiteral("warning|Warnung|Der Bericht ist in")),
             qPrintable(shown[1]));
    QVERIFY(shown[1].contains(QDir::toNativeSeparators(report)));
    QVERIFY(shown[1].contains(QDir::toNativeSeparators(companion)));
    QVERIFY(shown[1].contains(QStringLiteral("konnte aber nicht geschrieben werden")));
    QVERIFY(shown[1].contains(QStringLiteral("Verkn\u00fcpfung")));
    QVERIFY(QFileInfo(companion).isSymLink());
    QCOMPARE(zortest::readAll(elsewhere), QByteArray("nicht anfassen\n"));
    QVERIFY(!zortest::readAll(report).isEmpty());

    // Sending: the companion cannot be written, so there are no instructions
    // and nothing goes to the mail program.
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "EMailSchicken");
    QCOMPARE(zortest::shownDialogs().size(), 1);
    QVERIFY(zortest::shownDialogs()[0].contains(QStringLiteral("Begleitdatei")));
    QVERIFY(desktop.starts.isEmpty() && desktop.urls.isEmpty());
    QCOMPARE(zortest::readAll(elsewhere), QByteArray("nicht anfassen\n"));

    // A folder under the companion's name is refused, never replaced.
    QVERIFY(QFile::remove(companion));
    QVERIFY(QDir().mkpath(companion));
    zortest::dialogs().clearShown();
    form->setModified(true);
    zortest::trigger(*form, "FileSave1");
    QVERIFY(!form->isModified());
    QVERIFY(anyShown(QStringLiteral("warning"), QStringLiteral("Ordner")));
    QVERIFY(QFileInfo(companion).isDir());

    // Once the name is free again, the copy is written with the report's bytes.
    QVERIFY(QDir(companion).removeRecursively());
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "EMailSchicken");
    QCOMPARE(zortest::readAll(companion), zortest::readAll(report));
    QCOMPARE(desktop.starts.size(), 1);
}

void TstReportFaults::failedOpen_changesNothing()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("rohr.zor"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString huge = dir.filePath(QStringLiteral("riesig.zor"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(zor::MaxReportFileSize + 1));
    }
    const QString previous = dir.filePath(QStringLiteral("vorher.zor"));

    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    zortest::field(*form, Field::Fax)->setText(QStringLiteral("  getippt, nicht gespeichert"));
    form->setCurrentFileName(previous);
    const Snapshot before = Snapshot::of(*form);
    QCOMPARE(before.modified, 1);

    const QList<QPair<QString, QString>> cases = {
            {dir.filePath(QStringLiteral("fehlt.zor")), QStringLiteral("existiert nicht")},
            {fifo, QStringLiteral("keine gew\u00f6hnliche Datei")},
            {QStringLiteral("/dev/zero"), QStringLiteral("keine gew\u00f6hnliche Datei")},
            {dir.path(), QStringLiteral("Ordner")},
            {huge, QStringLiteral("64 MB")}};
    for (const auto &c : cases) {
        // Through the menu ("Nein" to the question) and from the command line.
        for (const bool fromMenu : {true, false}) {
            zortest::dialogs().clearShown();
            zortest::dialogs().primeAnswer(Answer::No);
            if (fromMenu) {
                zortest::dialogs().primeFile(c.first);
                zortest::trigger(*form, "FileOpen1");
            } else {
                form->openFromCommandLine(c.first);
            }
            QVERIFY2(anyShown(QStringLiteral("warning"), c.second),
                     qPrintable(c.first + QLatin1Char('\n') + shownText()));
            QVERIFY2(anyShown(QStringLiteral("warning"),
                              QStringLiteral("Datei kann nicht ge\u00f6ffnet werden")),
                     qPrintable(c.first));
            QVERIFY2(Snapshot::of(*form) == before, qPrintable(c.first));
        }
    }
    // So the next Strg+S writes what the window shows, to the file it had.
    zortest::field(*form, Field::Tel)->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return zortest::field(*form, Field::Tel)->hasFocus(); }));
    QTest::keyClick(zortest::field(*form, Field::Tel), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!form->isModified());
    zor::ReportAsRead read = zor::readReport(zortest::readAll(previous));
    QCOMPARE(read.report.text(Field::Fax), QStringLiteral("getippt, nicht gespeichert"));
}

void TstReportFaults::newAndOpen_stopWhenTheYesSaveDidNotHappen()
{
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("anderer.zor"));
    QVERIFY(zortest::writeAll(other, "Anderer Verein\r\n"));
    auto form = zortest::makeForm();

    // Refused by the check: an incomplete report with a current file name.
    zortest::field(*form, Field::Ort)->setText(QStringLiteral("nur der Ort"));
    form->setCurrentFileName(dir.filePath(QStringLiteral("b.zor")));
    zortest::dialogs().primeAnswer(Answer::Yes);
    zortest::trigger(*form, "FileNew1");
    QCOMPARE(zortest::field(*form, Field::Ort)->text(), QStringLiteral("nur der Ort"));
    QVERIFY(form->isModified());
    QCOMPARE(zortest::dialogs().shown().size(), 2);
    QCOMPARE(zortest::dialogs().shown().at(1).caption,
             QStringLiteral("Eingabepr\u00fcfung: Fehler !"));

    // The Save As dialog cancelled: Open shows no open dialog.
    zortest::fillComplete(*form);
    form->setCurrentFileName(QString());
    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::Yes);
    zortest::dialogs().primeFile(QString()); // Save As cancelled
    zortest::dialogs().primeFile(other);     // would be opened
    zortest::trigger(*form, "FileOpen1");
    QCOMPARE(zortest::shownDialogs().size(), 2); // the question, the Save As dialog
    QCOMPARE(zortest::dialogs().shown().at(1).kind, QStringLiteral("save"));
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(),
             QStringLiteral("Sportverein Beispielhausen"));
    QVERIFY(form->isModified());
    zortest::dialogs().reset();

    // The file could not be written (write-protected).
    const QString locked = dir.filePath(QStringLiteral("gesperrt.zor"));
    QVERIFY(zortest::writeAll(locked, "alt\r\n"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner));
    form->setCurrentFileName(locked);
    zortest::dialogs().primeAnswer(Answer::Yes);
    zortest::trigger(*form, "FileNew1");
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(),
             QStringLiteral("Sportverein Beispielhausen"));
    QCOMPARE(form->currentFileName(), locked);
    QCOMPARE(zortest::readAll(locked), QByteArray("alt\r\n"));

    // A save that went through lets New go on.
    const QString fine = dir.filePath(QStringLiteral("gut.zor"));
    form->setCurrentFileName(fine);
    zortest::dialogs().reset();
    zortest::dialogs().primeAnswer(Answer::Yes);
    zortest::trigger(*form, "FileNew1");
    QVERIFY(QFileInfo::exists(fine));
    QVERIFY(zortest::field(*form, Field::Vereinsname)->text().isEmpty());
    QVERIFY(form->currentFileName().isEmpty());
    QVERIFY(!form->isModified());
}

void TstReportFaults::fileChangedByAnotherProgram_isAskedAbout()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);
    QVERIFY(zortest::saveAs(*form, path));

    // Written again with the same bytes (a backup tool, a touch): no question.
    QTest::qSleep(20);
    QVERIFY(zortest::writeAll(path, zortest::readAll(path)));
    zortest::field(*form, Field::Ort)->setText(QStringLiteral("Neustadt"));
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(), QStringList());
    QVERIFY(!form->isModified());

    // Another program writes the file; the user types on.
    const QByteArray theirs = "von einem anderen Programm\r\n";
    QVERIFY(zortest::writeAll(path, theirs));
    zortest::field(*form, Field::Ort)->setText(QStringLiteral("Altstadt  "));
    const Snapshot before = Snapshot::of(*form);

    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::No);
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::dialogs().shown().size(), 1);
    QCOMPARE(zortest::dialogs().shown().at(0).kind, QStringLiteral("question"));
    QCOMPARE(zortest::dialogs().shown().at(0).buttons,
             (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
    QVERIFY(zortest::dialogs().shown().at(0).text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(zortest::readAll(path), theirs);
    QVERIFY(Snapshot::of(*form) == before); // not even tidied
    QCOMPARE(zortest::field(*form, Field::Ort)->text(), QStringLiteral("Altstadt  "));

    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::Yes);
    zortest::trigger(*form, "FileSave1");
    QVERIFY(!form->isModified());
    QCOMPARE(zor::readReport(zortest::readAll(path)).report.text(Field::Ort),
             QStringLiteral("Altstadt"));

    // The same after opening a file: what was read is what is protected.
    form->openFromCommandLine(path);
    QCOMPARE(form->currentFileName(), path);
    QVERIFY(zortest::writeAll(path, theirs));
    form->setModified(true);
    zortest::dialogs().clearShown();
    zortest::dialogs().primeAnswer(Answer::No);
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::readAll(path), theirs);
    QVERIFY(form->isModified());
    form->setModified(false);
}

void TstReportFaults::longValues_surviveOpenAndSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang.zor"));
    const QByteArray longName = "Verein " + QByteArray(40000, 'x');
    const QByteArray longMaster = "Lang" + QByteArray(50000, 'y') + ";Vorname;2";
    QList<QByteArray> lines = {
            longName, "0042",           "Ab12",       "Erika",  "Muster",  "Hauptstr. 1",
            "12345",  "Beispielhausen", "0123456789", "-",      "-",       QByteArray(33000, 'z'),
            "-",      "12345",          "-",          "-",      "6 0 0",   "14 0 0",
            "18 0 0", "26 3 2",         "40 0 0",     "60 0 0", "500 5 0", longMaster};
    const QByteArray bytes = zortest::crlfLines(lines);
    QVERIFY(zortest::writeAll(path, bytes));

    auto form = zortest::makeForm();
    form->openFromCommandLine(path);
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text().size(), longName.size());
    QCOMPARE(zortest::field(*form, Field::DName)->text().size(), 33000);
    form->setModified(true);
    zortest::trigger(*form, "FileSave1");
    QVERIFY(!form->isModified());
    QCOMPARE(zortest::readAll(path), bytes);

    // Typing past 32,767 characters is not cut either.
    zortest::field(*form, Field::Fax)->setText(QString(32767, QLatin1Char('1')));
    zortest::field(*form, Field::Fax)->setFocus();
    zortest::field(*form, Field::Fax)->end(false);
    QTest::keyClicks(zortest::field(*form, Field::Fax), QStringLiteral("234"));
    QCOMPARE(zortest::field(*form, Field::Fax)->text().size(), 32770);
    // Taken back for editing, a long master comes back whole as well.
    zortest::liste(*form)->setCurrentRow(0);
    zortest::click(*form, "ModBtn");
    QCOMPARE(zortest::widget<QLineEdit>(*form, "NName")->text().size(),
             longMaster.size() - int(qstrlen(";Vorname;2")));
    form->setModified(false);
}

void TstReportFaults::saveDialog_refusesAFolderThatDoesNotExist()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    zortest::fillComplete(*form);

    // Through the seam: refused with a warning, and asked again.
    const QString missing = dir.filePath(QStringLiteral("gibtsnicht/bericht.zor"));
    zortest::dialogs().primeFile(missing);
    zortest::dialogs().primeFile(QString());
    zortest::trigger(*form, "FileSaveAs1");
    QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown[1].startsWith(QStringLiteral("warning|Warnung|Der Ordner")));
    QVERIFY(shown[1].contains(
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("gibtsnicht")))));
    QVERIFY(form->currentFileName().isEmpty());
    QVERIFY(form->isModified());

    // The real dialog and the real message box: type the name, press Return,
    // take the warning, then cancel the dialog that comes back.
    zortest::dialogs().setScripted(false);
    int dialogsSeen = 0;
    bool warned = false;
    std::function<void()> drive = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            warned = warned || box->text().contains(QStringLiteral("existiert nicht"));
            box->accept();
        } else if (auto *fd = qobject_cast<QFileDialog *>(modal)) {
            if (++dialogsSeen == 1) {
                auto *edit = fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(edit);
                edit->setText(missing);
                QTest::keyClick(edit, Qt::Key_Return);
            } else {
                fd->reject();
                return;
            }
        }
        QTimer::singleShot(50, drive);
    };
    QTimer::singleShot(50, drive);
    zortest::trigger(*form, "FileSaveAs1");
    zortest::dialogs().setScripted(true);
    QCOMPARE(dialogsSeen, 2);
    QVERIFY(warned);
    QVERIFY(form->currentFileName().isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gibtsnicht"))));
    form->setModified(false);
}

QTEST_MAIN(TstReportFaults)
#include "tst_reportfaults.moc"
