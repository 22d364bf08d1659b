// "Mitgliederliste übernehmen..." through the real window and the real
// dialog in a real X server: the menu entry, button and Strg+I, Return on
// "Übernehmen" filling grid, sums and masters and marking the report
// changed, the user's choices in the dialog, the doubts it shows by row,
// "Abbrechen" and Escape changing nothing, bad files refused with a message
// before any dialog, and a long list read with a progress dialog whose
// "Abbrechen" changes nothing.

#include "app/startup.h"
#include "import/memberlistloader.h"
#include "tests/support/realx.h"
#include "tests/support/windowtest.h"
#include "tests/support/ziptools.h"
#include "ui/memberimportdialog.h"

#include "ui/zahlengrid.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

QString dataFile(const char *name)
{
    return QStringLiteral(ZOR_IMPORT_DATA "/") + QLatin1StringView(name);
}

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

// A workbook of `members` members (shared strings, date cells), as a club
// program with a very long list writes it.
void writeLongList(const QString &path, int members)
{
    QByteArray rows = "<row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>"
                      "<c t=\"s\"><v>2</v></c></row>";
    rows.reserve(members * 80);
    for (int i = 0; i < members; ++i) {
        const QByteArray n = QByteArray::number(i + 2);
        rows += "<row r=\"" + n + "\"><c r=\"A" + n + "\" t=\"s\"><v>"
                + QByteArray::number(3 + i % 2) + "</v></c><c r=\"B" + n + "\" t=\"s\"><v>"
                + QByteArray::number(5 + i % 2) + "</v></c><c r=\"C" + n + "\" s=\"2\"><v>"
                + QByteArray::number(20000 + i % 20000) + "</v></c></row>";
    }
    const QByteArray shared = "<si><t>Nachname</t></si><si><t>Geschlecht</t></si>"
                              "<si><t>Geburtsdatum</t></si><si><t>M\xc3\xbcller</t></si>"
                              "<si><t>Schmidt</t></si><si><t>m</t></si><si><t>w</t></si>";
    QFile f(path);
    const QByteArray bytes = zortest::zipOf(zortest::workbookParts(rows, shared));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TstImportWindow : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstImportWindow()
        : WindowTest(Kind::ActiveScripted)
    { }

private slots:
    void actionSitsInTheMenuAndAtTheEndOfTheToolbar();
    void returnTakesCountsSumsAndMastersAndMarksTheReport();
    void choicesInTheDialogAreWhatIsTaken();
    void cancelAndEscapeChangeNothing();
    void doubtsAreShownByRowBeforeAnythingIsTaken();
    void aLongListIsReadWithProgressAndAbbrechenChangesNothing();
    void theSheetIsChosenWhenThereAreSeveral();
    void badFilesAreRefusedBeforeAnyDialog();

private:
    void prepare() override
    {
        zortest::setMasters(*form, {u("Typed;By Hand;1"), u("M\u00fcller;J\u00fcrgen;2")});
        form->setModified(false);
    }

    // Triggers the action and runs `inDialog` on the dialog once the window
    // manager has made it active; fails when no dialog came.
    void withDialog(const std::function<void()> &open,
                    const std::function<void(MemberImportDialog *)> &inDialog);
    QStringList gridCells() const;
};

void TstImportWindow::withDialog(const std::function<void()> &open,
                                 const std::function<void(MemberImportDialog *)> &inDialog)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<MemberImportDialog *>(QApplication::activeModalWidget());
        if (seen || !dialog || QApplication::activeWindow() != dialog)
            return;
        seen = true;
        inDialog(dialog);
        // Whatever the case did, the dialog must not stay open.
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    open();
    poll.stop();
    QVERIFY2(seen, "no member import dialog came up");
    QVERIFY(zortest::settled(form.get()));
}

QStringList TstImportWindow::gridCells() const
{
    QStringList cells;
    for (int r = 1; r <= 7; ++r)
        cells << zortest::widget<ZahlenGrid>(*form, "Zahlen")->cellText(r, 1)
              << zortest::widget<ZahlenGrid>(*form, "Zahlen")->cellText(r, 2);
    return cells;
}

void TstImportWindow::actionSitsInTheMenuAndAtTheEndOfTheToolbar()
{
    const QList<QAction *> menu = zortest::widget<QMenu>(*form, "Datei1")->actions();
    const qsizetype saveAs = menu.indexOf(zortest::widget<QAction>(*form, "FileSaveAs1"));
    QVERIFY(saveAs >= 0);
    QCOMPARE(menu.value(saveAs + 1), zortest::widget<QAction>(*form, "MitgliederImport"));
    QCOMPARE(zortest::widget<QAction>(*form, "MitgliederImport")->text(),
             u("Mitgliederliste \u00fcbernehmen..."));
    QCOMPARE(zortest::widget<QAction>(*form, "MitgliederImport")
                     ->shortcut()
                     .toString(QKeySequence::NativeText),
             u("Strg+I"));

    const QList<QAction *> bar = zortest::widget<QToolBar>(*form, "ToolBar1")->actions();
    QCOMPARE(bar.size(), 6);
    QCOMPARE(bar.last(), zortest::widget<QAction>(*form, "MitgliederImport"));
    auto *button = form->findChild<QToolButton *>(QStringLiteral("ImportBtn"));
    QVERIFY(button);
    QVERIFY(!zortest::widget<QAction>(*form, "MitgliederImport")->icon().isNull());
    auto *print = form->findChild<QToolButton *>(QStringLiteral("ToolButton1"));
    QVERIFY(button->y() > print->y());

    // Strg+I from a field of the first page opens the file dialog.
    zortest::widget<QLineEdit>(*form, "Vereinsname")->setFocus();
    zortest::dialogs().primeFile(QString()); // the user cancels the file dialog
    zortest::press(Qt::Key_I, Qt::ControlModifier);

    QCOMPARE(zortest::dialogs().shown().last().kind, u("open"));
    QVERIFY(zortest::dialogs().shown().last().filter.contains(u("*.xlsx")));
    QVERIFY(!form->isModified());
}

void TstImportWindow::returnTakesCountsSumsAndMastersAndMarksTheReport()
{
    zortest::dialogs().primeFile(dataFile("openpyxl.xlsx"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *preview = d->findChild<QTableWidget *>(QStringLiteral("Vorschau"));
                   QVERIFY(preview);
                   QCOMPARE(preview->item(6, 0)->text(), u("3"));  // over 60, men
                   QCOMPARE(preview->item(7, 2)->text(), u("10")); // all to be taken
                   QCOMPARE(preview->item(7, 5)->text(), u("0"));  // the grid's now
                   auto *notCounted = d->findChild<QListWidget *>(QStringLiteral("NichtGezaehlt"));
                   QCOMPARE(notCounted->count(), 4);
                   QCOMPARE(notCounted->item(2)->text(), u("Zeile 11: Geburtsdatum fehlt"));
                   QVERIFY(d->findChild<QLabel *>(QStringLiteral("AnderesGeschlechtAnzahl"))
                                   ->text()
                                   .startsWith(u("2 Mitglieder")));
                   auto *notes = d->findChild<QListWidget *>(
                           QStringLiteral("MeisterNichtUebernommen"));
                   // Müller with another grade, Öztürk's ş, Schmidt's Kyu grade.
                   QCOMPARE(notes->count(), 3);
                   auto *take = d->findChild<QPushButton *>(QStringLiteral("Uebernehmen"));
                   QVERIFY(take->isDefault());
                   QVERIFY(take->isEnabled());
                   zortest::press(Qt::Key_Return);
                   QVERIFY(!d->isVisible());
               });
    QCOMPARE(gridCells(), (QStringList{u("1"), u("0"), u("0"), u("1"), u("0"), u("1"), u("1"),
                                       u("0"), u("1"), u("1"), u("0"), u("1"), u("3"), u("0")}));
    QCOMPARE(zortest::sumLabel(*form, "Sum7")->text(), u("3"));
    QCOMPARE(zortest::sumLabel(*form, "MSum")->text(), u("6"));
    QCOMPARE(zortest::sumLabel(*form, "WSum")->text(), u("4"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), u("10"));
    QCOMPARE(
            form->currentReport().masters,
            (QStringList{u("Fischer;Ida;10"), u("Gro\u00df;Lena;1"), u("M\u00fcller;J\u00fcrgen;2"),
                         u("M\u00fcller;J\u00fcrgen;3"), u("Typed;By Hand;1")}));
    QVERIFY(form->isModified());
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), u("mod"));
    QCOMPARE(zortest::pages(*form)->currentWidget(), zortest::widget<QWidget>(*form, "Mitglieder"));
    // Nothing of the member list went anywhere but into the report.
    QVERIFY(zortest::shownDialogs().filter(u("warning")).isEmpty());
}

void TstImportWindow::choicesInTheDialogAreWhatIsTaken()
{
    zortest::dialogs().primeFile(dataFile("excel-windows1252.csv"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *other = d->findChild<QComboBox *>(QStringLiteral("AnderesGeschlecht"));
                   QCOMPARE(other->currentIndex(), 0); // not counted unless chosen
                   other->setCurrentIndex(2);          // under Frauen
                   auto *replace = d->findChild<QRadioButton *>(QStringLiteral("MeisterErsetzen"));
                   QTest::mouseClick(replace, Qt::LeftButton);
                   QVERIFY(replace->isChecked());
                   auto *preview = d->findChild<QTableWidget *>(QStringLiteral("Vorschau"));
                   QCOMPARE(preview->item(7, 1)->text(), u("6"));
                   // The birth-date column changed by hand: nothing can be counted then.
                   auto *birth = d->findChild<QComboBox *>(QStringLiteral("SpalteGeburtsdatum"));
                   QCOMPARE(birth->currentData().toInt(), 3);
                   birth->setCurrentIndex(0);
                   auto *take = d->findChild<QPushButton *>(QStringLiteral("Uebernehmen"));
                   QVERIFY(!take->isEnabled());
                   birth->setCurrentIndex(4);
                   QVERIFY(take->isEnabled());
                   QTest::mouseClick(take, Qt::LeftButton);
               });
    QCOMPARE(zortest::sumLabel(*form, "WSum")->text(), u("6"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), u("12"));
    QCOMPARE(form->currentReport().masters,
             (QStringList{u("Fischer;Ida;10"), u("Gro\u00df;Lena;1"),
                          u("M\u00fcller;J\u00fcrgen;3"), u("\u00d6zt\u00fcrk;Ayse;2")}));
    QVERIFY(form->isModified());
}

void TstImportWindow::cancelAndEscapeChangeNothing()
{
    zortest::widget<ZahlenGrid>(*form, "Zahlen")->setCellText(3, 1, u("7"));
    form->showReport(form->currentReport()); // and its sums
    form->setModified(false);
    const zor::Report before = form->currentReport();

    zortest::dialogs().primeFile(dataFile("odfpy.ods"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *preview = d->findChild<QTableWidget *>(QStringLiteral("Vorschau"));
                   QCOMPARE(preview->item(2, 3)->text(), u("7")); // the grid's count beside
                   QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("Abbrechen")),
                                     Qt::LeftButton);
                   QVERIFY(!d->isVisible());
               });
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());

    zortest::dialogs().primeFile(dataFile("xlsxwriter.xlsx"));
    withDialog([&] { zortest::press(Qt::Key_I, Qt::ControlModifier); },
               [&](MemberImportDialog *d) {
                   zortest::press(Qt::Key_Escape);
                   QVERIFY(!d->isVisible());
               });
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), u("7"));

    // A grid cell that is no number yet: the grid's sums are unknown, the
    // list's are shown, and no error box comes. The list's hidden rows are
    // counted and said; its hidden column is marked.
    zortest::widget<ZahlenGrid>(*form, "Zahlen")->setCellText(5, 2, QString());
    zortest::dialogs().clearShown();
    zortest::dialogs().primeFile(dataFile("libreoffice-titel-ausgeblendet.ods"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *preview = d->findChild<QTableWidget *>(QStringLiteral("Vorschau"));
                   for (const int row : {0, 4, 7})
                       QCOMPARE(preview->item(row, 5)->text(), u("?"));
                   for (const int col : {3, 4})
                       QCOMPARE(preview->item(7, col)->text(), u("?"));
                   QCOMPARE(preview->item(7, 2)->text(), u("12"));
                   auto *summary = d->findChild<QLabel *>(QStringLiteral("Zusammenfassung"));
                   QVERIFY2(summary->text().contains(u("1 Zeile war ausgeblendet")),
                            qPrintable(summary->text()));
                   auto *birth = d->findChild<QComboBox *>(QStringLiteral("SpalteGeburtsdatum"));
                   QCOMPARE(birth->itemText(7), u("G: Eintritt (ausgeblendet)"));
                   zortest::press(Qt::Key_Escape);
               });
    QCOMPARE(zortest::shownDialogs().size(), 1); // the file dialog only
    QVERIFY(!form->isModified());
}

void TstImportWindow::doubtsAreShownByRowBeforeAnythingIsTaken()
{
    // LibreOffice's German CSV: a title above the header, two-digit years.
    zortest::dialogs().primeFile(dataFile("libreoffice-de.csv"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *header = d->findChild<QComboBox *>(QStringLiteral("UeberschriftZeile"));
                   QVERIFY(header->currentText().startsWith(u("Zeile 3: Mitgl.-Nr. | Nachname")));
                   auto *toCheck = d->findChild<QListWidget *>(QStringLiteral("BittePruefen"));
                   QCOMPARE(toCheck->count(), 2);
                   QVERIFY(toCheck->item(0)->text().startsWith(
                           u("Zeile 17: \u201e01.05.25\u201c gelesen als 01.05.2025")));
                   auto *tabs = d->findChild<QTabWidget *>(QStringLiteral("Hinweise"));
                   QCOMPARE(tabs->tabText(1), u("Bitte pr\u00fcfen (2)"));
                   auto *summary = d->findChild<QLabel *>(QStringLiteral("Zusammenfassung"));
                   QVERIFY2(summary->text().contains(
                                    u("Bitte pr\u00fcfen: 2 Mitglieder mit zweistelliger "
                                      "Jahreszahl")),
                            qPrintable(summary->text()));
                   // The title taken for the header: the real header becomes a member.
                   header->setCurrentIndex(0);
                   QVERIFY2(summary->text().startsWith(u("16 Mitglieder gelesen, ")),
                            qPrintable(summary->text()));
                   header->setCurrentIndex(1); // "Zeile 3": the empty row 2 is not offered
                   QVERIFY2(summary->text().startsWith(u("15 Mitglieder gelesen, ")),
                            qPrintable(summary->text()));
                   auto *take = d->findChild<QPushButton *>(QStringLiteral("Uebernehmen"));
                   QVERIFY(take->isEnabled());
                   QCOMPARE(toCheck->count(), 2);
                   QTest::mouseClick(take, Qt::LeftButton);
               });
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), u("12"));
    QCOMPARE(zortest::sumLabel(*form, "Sum1")->text(), u("3"));
}

void TstImportWindow::aLongListIsReadWithProgressAndAbbrechenChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lange-liste.xlsx"));
    writeLongList(path, 200000);
    const zor::Report before = form->currentReport();

    // While the list is read the window keeps running its event loop: the
    // progress dialog comes up, moves on, and takes the click on "Abbrechen".
    int seenValue = -1;
    bool importDialog = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        if (qobject_cast<MemberImportDialog *>(QApplication::activeModalWidget()))
            importDialog = true;
        auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!progress || seenValue > 0 || QApplication::activeWindow() != progress)
            return;
        QCOMPARE(progress->objectName(), u("MitgliederlisteLesen"));
        if (progress->value() <= 0 || progress->value() >= 900)
            return;
        seenValue = progress->value();
        QTest::mouseClick(progress->findChild<QPushButton *>(QStringLiteral("LesenAbbrechen")),
                          Qt::LeftButton);
    });
    poll.start();
    zortest::dialogs().clearShown();
    zortest::dialogs().primeFile(path);
    zortest::widget<QAction>(*form, "MitgliederImport")->trigger();
    poll.stop();
    QVERIFY2(seenValue > 0, "no progress was shown while the list was read");
    QVERIFY(!importDialog);
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());
    QCOMPARE(zortest::shownDialogs().size(), 1); // the file dialog, no warning

    // Left to run, the same list comes to the dialog, counted.
    zortest::dialogs().primeFile(path);
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *summary = d->findChild<QLabel *>(QStringLiteral("Zusammenfassung"));
                   QVERIFY2(summary->text().startsWith(
                                    u("200000 Mitglieder gelesen, 200000 gez\u00e4hlt")),
                            qPrintable(summary->text()));
                   zortest::press(Qt::Key_Escape);
               });
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());
}

void TstImportWindow::theSheetIsChosenWhenThereAreSeveral()
{
    zortest::dialogs().primeFile(dataFile("openpyxl-1904.xlsx"));
    withDialog([&] { zortest::widget<QAction>(*form, "MitgliederImport")->trigger(); },
               [&](MemberImportDialog *d) {
                   auto *sheets = d->findChild<QComboBox *>(QStringLiteral("Tabelle"));
                   QVERIFY(sheets->isVisible());
                   QCOMPARE(sheets->count(), 2);
                   QCOMPARE(sheets->currentText(), u("Mitglieder"));
                   auto *take = d->findChild<QPushButton *>(QStringLiteral("Uebernehmen"));
                   auto *preview = d->findChild<QTableWidget *>(QStringLiteral("Vorschau"));
                   sheets->setCurrentIndex(1); // the notes: no birth dates there
                   QVERIFY(!take->isEnabled());
                   QCOMPARE(preview->item(7, 2)->text(), u("0"));
                   sheets->setCurrentIndex(0);
                   QVERIFY(take->isEnabled());
                   QCOMPARE(preview->item(7, 2)->text(), u("10"));
                   QTest::mouseClick(take, Qt::LeftButton);
               });
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), u("10"));
}

void TstImportWindow::badFilesAreRefusedBeforeAnyDialog()
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("liste.csv"));
    QFile f(picture);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    f.close();
    const QString noDates = dir.filePath(QStringLiteral("adressen.csv"));
    QFile g(noDates);
    QVERIFY(g.open(QIODevice::WriteOnly));
    g.write("Name;Vorname;Ort\r\nA;B;Bonn\r\n");
    g.close();

    const zor::Report before = form->currentReport();
    for (const QString &path : {picture, noDates}) {
        zortest::dialogs().clearShown();
        zortest::dialogs().primeFile(path);
        zortest::widget<QAction>(*form, "MitgliederImport")->trigger();
        QVERIFY(!QApplication::activeModalWidget());
        const QStringList shown = zortest::shownDialogs();
        QCOMPARE(shown.size(), 2); // the file dialog, then the warning
        QVERIFY2(shown.last().startsWith(u("warning|")), qPrintable(shown.last()));
    }
    QVERIFY(zortest::shownDialogs().last().contains(u("keine Spalte mit Geburtsdaten")));
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());

    // Without the readers' plugin a good list is refused the same way, with
    // the reason; the window started and stays usable.
    const QTemporaryDir noPlugin;
    zor::setMemberListPluginFolders({noPlugin.path()});
    zortest::dialogs().clearShown();
    zortest::dialogs().primeFile(dataFile("openpyxl.xlsx"));
    zortest::widget<QAction>(*form, "MitgliederImport")->trigger();
    zor::setMemberListPluginFolders({QStringLiteral(ZOR_PLUGIN_BUILD_DIR)});
    QVERIFY(!QApplication::activeModalWidget());
    const QStringList shown = zortest::shownDialogs();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.last().startsWith(u("warning|")), qPrintable(shown.last()));
    QVERIFY2(shown.last().contains(u("Mitgliederlisten k\u00f6nnen nicht gelesen werden, weil "
                                     "ein Teil des Programms fehlt")),
             qPrintable(shown.last()));
    QVERIFY(form->currentReport() == before);
    QVERIFY(!form->isModified());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zor::installGerman(app); // as the program runs: "Strg+I", German dialogs
    // The readers' plugin stands beside the program, not beside this test.
    zor::setMemberListPluginFolders({QStringLiteral(ZOR_PLUGIN_BUILD_DIR)});
    TstImportWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_importwindow.moc"
