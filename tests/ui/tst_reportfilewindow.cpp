// Save, companion copy and open through the real main window.

#include "reportfile/reportwriter.h"
#include "tests/support/cutoffdevice.h"
#include "tests/support/formfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testfiles.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

using zor::Field;

namespace {

const QByteArray expectedFile
        = "Sportverein Beispielhausen\r\n0042\r\nxK7q\r\nHanna\r\nM\xfcller\r\n"
          "Hauptstr. 1\r\n12345\r\nBeispielhausen\r\n0123 45678\r\n"
          "-\r\n-\r\n-\r\n-\r\n12346\r\n-\r\n-\r\n"
          "6 0 0\r\n14 0 0\r\n18 0 0\r\n26 3 2\r\n40 0 0\r\n60 0 0\r\n500 5 0\r\n"
          "Abc;De;3\r\n";

// The worked example as a user leaves it: blanks around the club's name, a
// tab after the phone number, the surname typed key by key.
void fillComplete(TSDIAppForm &form)
{
    zortest::fillComplete(form);
    zortest::field(form, Field::Vereinsname)
            ->setText(QStringLiteral("  Sportverein Beispielhausen "));
    zortest::field(form, Field::Tel)->setText(QStringLiteral("0123 45678\t"));
    zortest::field(form, Field::ANName)->clear();
    zortest::typeInto(zortest::field(form, Field::ANName), QStringLiteral("M\u00fcller"));
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QString cannotOpen = QStringLiteral("warning|Warnung|Datei kann nicht ge\u00f6ffnet werden");

// One warning: the fixed first line, then the file and, in German, why.
bool warnedCannotOpen(const QString &path, const QString &why)
{
    const QStringList shown = zortest::shownDialogs();
    return shown.size() == 1 && shown[0].startsWith(cannotOpen + QStringLiteral("\n\n"))
           && shown[0].contains(QDir::toNativeSeparators(path)) && shown[0].contains(why);
}

} // namespace

class TstReportFileWindow : public QObject
{
    Q_OBJECT

private slots:
    void save_newReport_showsElevenLinesAndWritesNothing();
    void save_badCountCell_endsBeforeAnythingChanges();
    void save_complete_writesReportAndCompanion();
    void save_underCompanionName_leavesOneFile();
    void save_missingFolderOrWriteProtected_keepsEverything();
    void save_cutOff_keepsOldFileAndModified();
    void controlCharacters_neverAddALineToTheFile();
    void open_fillsControlsAndClearsModified();
    void open_unreadableLines_toldOnce();
    void open_missingFile_warnsAndChangesNothing();
    void open_thenSave_isByteIdentical();
};

void TstReportFileWindow::save_newReport_showsElevenLinesAndWritesNothing()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    zortest::pages(*form)->setCurrentIndex(2);
    form->setCurrentFileName(dir.filePath(QStringLiteral("neu.zor")));
    QVERIFY(!form->isModified());

    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(),
             QStringList{QString::fromUtf8(
                     "message|Eingabepr\u00fcfung: Fehler !|"
                     "Unvollst\u00e4ndige oder falsche Eingabe in folgenden Feldern:\n"
                     "Vereinsname\nVereinsnummer\nCode\nVorname Ansprechpartner\n"
                     "Nachname Ansprechpartner\nStrasse Ansprechpartner\n"
                     "PLZ Ansprechpartner\nOrt Ansprechpartner\nTelefon Ansprechpartner\n"
                     "Seite Web/Dojo: PLZ \nSeite Mitglieder: Mitgliederzahl=0 \n"
                     "\n\n   Es kann noch nicht gespeichert werden !  \n\n")});
    QCOMPARE(zortest::pages(*form)->currentWidget(), zortest::widget<QWidget>(*form, "Verein"));
    for (Field f :
         {Field::Fax, Field::Email, Field::DName, Field::DStrasse, Field::DOrt, Field::WebAdresse})
        QCOMPARE(zortest::field(*form, f)->text(), QStringLiteral("-"));
    // Filling the optional fields is a change of the report.
    QVERIFY(form->isModified());
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
    QVERIFY(filesIn(dir).isEmpty());
}

void TstReportFileWindow::save_badCountCell_endsBeforeAnythingChanges()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    fillComplete(*form);
    zortest::zahlen(*form)->setCellText(3, 2, QString());
    form->setCurrentFileName(dir.filePath(QStringLiteral("b.zor")));

    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(),
             QStringList{QString::fromUtf8(
                     "error|ZOR-Quorvane|'' ist kein g\u00fcltiger Integerwert")});
    QVERIFY(zortest::field(*form, Field::Fax)->text().isEmpty()); // not tidied
    QVERIFY(filesIn(dir).isEmpty());
    QVERIFY(form->isModified());
}

void TstReportFileWindow::save_complete_writesReportAndCompanion()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    fillComplete(*form);
    const QString path = dir.filePath(QStringLiteral("mein bericht.zor"));
    form->setCurrentFileName(path);

    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(), QStringList());
    QCOMPARE(filesIn(dir),
             (QStringList{QStringLiteral("0042.zor"), QStringLiteral("mein bericht.zor")}));
    QCOMPARE(zortest::readAll(path), expectedFile);
    QCOMPARE(zortest::readAll(dir.filePath(QStringLiteral("0042.zor"))), expectedFile);
    QCOMPARE(form->currentFileName(), path);
    QVERIFY(!form->isModified());
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(),
             QStringLiteral("Sportverein Beispielhausen"));
    QCOMPARE(zortest::widget<QLabel>(*form, "AllSum")->text(), QStringLiteral("10"));
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QString());
}

void TstReportFileWindow::save_underCompanionName_leavesOneFile()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    fillComplete(*form);
    form->setCurrentFileName(dir.filePath(QStringLiteral("0042.zor")));
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(), QStringList());
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("0042.zor")});
    QCOMPARE(zortest::readAll(dir.filePath(QStringLiteral("0042.zor"))), expectedFile);
    QVERIFY(!form->isModified());
}

void TstReportFileWindow::save_missingFolderOrWriteProtected_keepsEverything()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    fillComplete(*form);
    form->setCurrentFileName(dir.filePath(QStringLiteral("fehlt/b.zor")));
    zortest::trigger(*form, "FileSave1");
    QVERIFY2(warnedCannotOpen(dir.filePath(QStringLiteral("fehlt/b.zor")),
                              QStringLiteral("existiert nicht")),
             qPrintable(zortest::shownDialogs().join(QLatin1Char('\n'))));
    QVERIFY(form->isModified());
    QVERIFY(filesIn(dir).isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("fehlt"))));

    // The tests run as root; the permission bits protect the file all the same.
    zortest::dialogs().clearShown();
    const QString path = dir.filePath(QStringLiteral("alt.zor"));
    QVERIFY(zortest::writeAll(path, "alt\r\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    form->setCurrentFileName(path);
    zortest::trigger(*form, "FileSave1");
    QVERIFY2(warnedCannotOpen(path, QStringLiteral("schreibgesch\u00fctzt")),
             qPrintable(zortest::shownDialogs().join(QLatin1Char('\n'))));
    QCOMPARE(zortest::readAll(path), QByteArray("alt\r\n"));
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("alt.zor")}); // no companion
    QVERIFY(form->isModified());
}

void TstReportFileWindow::save_cutOff_keepsOldFileAndModified()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    const QByteArray old = "der Bericht vom letzten Jahr\r\n";
    QVERIFY(zortest::writeAll(path, old));
    auto form = zortest::makeForm();
    fillComplete(*form);
    form->setCurrentFileName(path);

    // The unit test of the save cuts at every byte; here a few cuts show that
    // the window reports the failure and keeps the report as changed.
    zortest::FillingDisk disk;
    const qint64 size = expectedFile.size();
    for (const qint64 cut : {qint64(0), qint64(1), size / 2, size - 1}) {
        disk.limit = cut;
        zortest::dialogs().clearShown();
        zortest::trigger(*form, "FileSave1");
        const QString at = QStringLiteral("cut off after %1 bytes").arg(disk.limit);
        QVERIFY2(zortest::readAll(path) == old, qPrintable(at));
        QVERIFY2(form->isModified(), qPrintable(at));
        QVERIFY2(filesIn(dir) == QStringList{QStringLiteral("bericht.zor")}, qPrintable(at));
        const auto shown = zortest::dialogs().shown();
        QVERIFY2(shown.size() == 1 && shown[0].kind == QLatin1String("warning")
                         && shown[0].text.contains(QLatin1String("konnte nicht geschrieben werden"))
                         && shown[0].text.contains(QDir::toNativeSeparators(path)),
                 qPrintable(at));
    }
    // With room for every byte the same save goes through.
    disk.limit = size;
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(), QStringList());
    QCOMPARE(zortest::readAll(path), expectedFile);
    QVERIFY(!form->isModified());
}

void TstReportFileWindow::controlCharacters_neverAddALineToTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    auto form = zortest::makeForm();
    fillComplete(*form);
    form->setCurrentFileName(path);
    QLineEdit *street = zortest::field(*form, Field::Strasse);
    street->setFocus(Qt::OtherFocusReason);
    street->end(false);
    form->setModified(false);

    // A paste with a line break, a tab or another control is refused whole.
    // So are DEL and the C1 controls (Windows-1252 could store some of them,
    // but nobody could see them in the field or on paper); the euro sign,
    // which Windows-1252 keeps among those bytes, is a character like any other.
    for (const QString &pasted :
         {QStringLiteral("\nHof 2"), QStringLiteral("\r\n"), QStringLiteral("\tHof"),
          QStringLiteral("Hof\x01"), QStringLiteral("\x1f"), QStringLiteral("Hof\x7f"),
          QStringLiteral("\u0081"), QStringLiteral("Hof\u008d"), QStringLiteral("\u009d")}) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(street, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(street->text(), QStringLiteral("Hauptstr. 1"));
    }
    QVERIFY(!form->isModified());
    QApplication::clipboard()->setText(QStringLiteral(" \u20ac"));
    QTest::keyClick(street, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(street->text(), QStringLiteral("Hauptstr. 1 \u20ac"));
    street->setText(QStringLiteral("Hauptstr. 1"));
    form->setModified(false);

    // A break that came in another way would shift every later line: the
    // user is told and nothing is written until it is gone.
    street->setText(QStringLiteral("Hauptstr.\n1"));
    zortest::trigger(*form, "FileSave1");
    QVERIFY2(zortest::shownDialogs().size() == 1
                     && zortest::shownDialogs()[0].contains(QStringLiteral("Zeilenumbruch")),
             qPrintable(zortest::shownDialogs().join(QLatin1Char('#'))));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(form->isModified());
    street->setText(QStringLiteral("Hauptstr. 1"));
    zortest::dialogs().clearShown();
    zortest::trigger(*form, "FileSave1");
    QCOMPARE(zortest::shownDialogs(), QStringList());
    QCOMPARE(zortest::readAll(path), expectedFile);
}

void TstReportFileWindow::open_fillsControlsAndClearsModified()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lf.zor"));
    // LF line ends, a count with a leading zero, other age bounds, empty lines among masters.
    QVERIFY(zortest::writeAll(
            path, "JC Nord\n0116\nc\nVor\nNach\nStr\n22222\nOrt\n12345678\n-\n-\n-\n-\n33333\n-\n"
                  "www\n6 1 0\n14 0 0\n18 0 0\n27 07 2\n40 0 0\n60 0 0\n500 0 3\n"
                  "b;x;1\n\nA;y;2\n\n"));
    auto form = zortest::makeForm();
    zortest::field(*form, Field::Fax)->setText(QStringLiteral("vorher"));
    zortest::dialogs().primeAnswer(zor::Answer::No);
    zortest::dialogs().primeFile(path);
    zortest::trigger(*form, "FileOpen1");

    // The question before the change is lost and the open dialog, nothing about the file.
    QCOMPARE(zortest::shownDialogs().size(), 2);
    QVERIFY(zortest::shownDialogs()[1].startsWith(QLatin1String("open|")));
    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(), QStringLiteral("JC Nord"));
    QCOMPARE(zortest::nummer(*form)->text(), QStringLiteral("0116"));
    QCOMPARE(zortest::field(*form, Field::Fax)->text(), QStringLiteral("-"));
    QCOMPARE(zortest::field(*form, Field::WebAdresse)->text(), QStringLiteral("www"));
    QCOMPARE(zortest::zahlen(*form)->cellText(4, 1), QStringLiteral("7"));
    QCOMPARE(zortest::zahlen(*form)->cellText(4, 2), QStringLiteral("2"));
    QCOMPARE(zortest::zahlen(*form)->cellText(7, 2), QStringLiteral("3"));
    QCOMPARE(form->currentReport().masters,
             (QStringList{QStringLiteral("A;y;2"), QStringLiteral("b;x;1")}));
    QCOMPARE(zortest::widget<QLabel>(*form, "AllSum")->text(), QStringLiteral("13"));
    QVERIFY(!form->isModified());
    QCOMPARE(form->currentFileName(), path);
}

void TstReportFileWindow::open_unreadableLines_toldOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.zor"));
    QList<QByteArray> lines;
    for (int i = 0; i < zor::FieldCount; ++i)
        lines << "feld";
    lines << "6 1 1"
          << "14 x 5"
          << "18 1 1"
          << "26  4"
          << "40 1 1"
          << "60 1 1"
          << "500 1 1";
    QVERIFY(zortest::writeAll(path, zortest::crlfLines(lines)));
    auto form = zortest::makeForm();
    form->openFromCommandLine(path);
    QCOMPARE(form->currentFileName(), path);

    const auto shown = zortest::dialogs().shown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.contains(QLatin1String("Zeile 18 (7 - 14 Jahre)")));
    QVERIFY(shown[0].text.contains(QLatin1String("Zeile 20 (19 - 26 Jahre)")));
    QVERIFY(!shown[0].text.contains(QLatin1String("Zeile 19")));
    QCOMPARE(zortest::zahlen(*form)->cellText(2, 1), QStringLiteral("0"));
    QCOMPARE(zortest::zahlen(*form)->cellText(2, 2), QStringLiteral("5"));
    QCOMPARE(zortest::zahlen(*form)->cellText(4, 1), QStringLiteral("0"));
    QCOMPARE(zortest::zahlen(*form)->cellText(4, 2), QStringLiteral("4"));
    QVERIFY(!form->isModified());

    // A file that ends early says so, once, with its name as it is (a "%2"
    // in it is no place for the line number).
    zortest::dialogs().clearShown();
    const QString early = dir.filePath(QStringLiteral("Bericht %2.zor"));
    QVERIFY(zortest::writeAll(early, "Verein\r\n0042\r\n"));
    form->openFromCommandLine(early);
    QCOMPARE(zortest::dialogs().shown().size(), 1);
    QVERIFY(zortest::dialogs().shown()[0].text.contains(QLatin1String("nach Zeile 2")));
    QVERIFY2(zortest::dialogs().shown()[0].text.contains(
                     QStringLiteral("\u201e%1\u201c endet").arg(early)),
             qPrintable(zortest::dialogs().shown()[0].text));
    QVERIFY(zortest::field(*form, Field::Code)->text().isEmpty());
}

void TstReportFileWindow::open_missingFile_warnsAndChangesNothing()
{
    QTemporaryDir dir;
    auto form = zortest::makeForm();
    zortest::field(*form, Field::Ort)->setText(QStringLiteral("bleibt"));
    form->setModified(true);
    zortest::dialogs().primeAnswer(zor::Answer::No); // drop the changes, as far as Open goes
    form->openFromCommandLine(dir.filePath(QStringLiteral("gibtsnicht.zor")));
    QVERIFY(form->currentFileName().isEmpty());
    // The question about the changes first, then the warning.
    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[1].startsWith(cannotOpen + QStringLiteral("\n\n")));
    QVERIFY(shown[1].contains(QStringLiteral("existiert nicht")));
    QCOMPARE(zortest::field(*form, Field::Ort)->text(), QStringLiteral("bleibt"));
    QVERIFY(form->isModified());
}

void TstReportFileWindow::open_thenSave_isByteIdentical()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("0042.zor"));
    QByteArray bytes = expectedFile;
    bytes.replace("Beispielhausen\r\n", "B\x80\x8a\x9f\xa0\xe4\xffhausen\r\n");
    QVERIFY(zortest::writeAll(path, bytes));
    auto form = zortest::makeForm();
    zortest::dialogs().primeFile(path);
    zortest::trigger(*form, "FileOpen1");
    QVERIFY(!form->isModified());
    QCOMPARE(zortest::dialogs().shown().size(), 1); // the open dialog only
    zortest::dialogs().clearShown();
    form->setModified(true);
    zortest::trigger(*form, "FileSave1");
    QVERIFY2(zortest::shownDialogs().isEmpty(),
             qPrintable(zortest::shownDialogs().join(QLatin1Char('#'))));
    QCOMPARE(zortest::readAll(path), bytes);
}

QTEST_MAIN(TstReportFileWindow)
#include "tst_reportfilewindow.moc"
