// The member-count grid as a person uses it in a real X server with a window
// manager: type, then move on by any key, mouse or Tab; the real error box of
// a faulty cell; leaving the grid; saving while a cell is being edited.

#include "reportfile/reportreader.h"
#include "tests/support/pdfreading.h"
#include "tests/support/realx.h"
#include "tests/support/testfiles.h"
#include "tests/support/windowtest.h"
#include "ui/zahlengrid.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

using zortest::focused;
using zortest::press;
using zortest::typeKeys;

namespace {

QPair<int, int> current(ZahlenGrid *g)
{
    return {g->currentRow(), g->currentColumn()};
}

QString conversionError(const QString &text)
{
    return QString::fromUtf8("'%1' ist kein g\u00fcltiger Integerwert").arg(text);
}

} // namespace

class TstGridKeys : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstGridKeys()
        : WindowTest(Kind::Active)
    { }

private slots:
    void typedCountReachesTheSumsWhateverMovesOn_data();
    void typedCountReachesTheSumsWhateverMovesOn();
    void emptiedCellStaysCurrentUntilItHoldsANumber();
    void aCellWithoutANumberCanAlwaysBeReached();
    void tabLeavesTheGridAtItsEnds();
    void homeGoesToTheFirstCountCell();
    void contextMenuPasteMarksTheReportModified();
    void saveTakesTheOpenEditorsText();
    void pdfTakesTheOpenEditorsText();

private:
    void prepare() override
    {
        grid = zortest::focusGrid(*form);
        QVERIFY(grid);
    }

    void editAt(int row, int col);

    ZahlenGrid *grid = nullptr;
};

void TstGridKeys::editAt(int row, int col)
{
    QVERIFY2(zortest::editCell(grid, row, col), "F2 opened no cell editor");
}

void TstGridKeys::typedCountReachesTheSumsWhateverMovesOn_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("sum");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toCol");
    QTest::newRow("Down") << int(Qt::Key_Down) << 4 << 1 << "Sum4" << 5 << 1;
    QTest::newRow("Up") << int(Qt::Key_Up) << 4 << 2 << "Sum4" << 3 << 2;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 2 << 1 << "Sum2" << 7 << 1;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 6 << 2 << "Sum6" << 1 << 2;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 3 << 1 << "Sum3" << 3 << 2;
    QTest::newRow("click") << 0 << 5 << 1 << "Sum5" << 2 << 2;
}

void TstGridKeys::typedCountReachesTheSumsWhateverMovesOn()
{
    QFETCH(int, key);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, sum);
    QFETCH(int, toRow);
    QFETCH(int, toCol);
    zortest::BoxAnswerer boxes;
    editAt(row, col);
    typeKeys(QStringLiteral("5"));
    if (key) {
        press(Qt::Key(key));
    } else {
        const QRect r = grid->visualRect(grid->model()->index(toRow, toCol));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    QCOMPARE(current(grid), qMakePair(toRow, toCol));
    QCOMPARE(grid->cellText(row, col), QStringLiteral("5"));
    QCOMPARE(form->findChild<QLabel *>(sum)->text(), QStringLiteral("5"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("5"));
    QVERIFY(form->isModified());
    QTest::qWait(50);
    QVERIFY(boxes.texts.isEmpty());
}

void TstGridKeys::emptiedCellStaysCurrentUntilItHoldsANumber()
{
    zortest::BoxAnswerer boxes;
    editAt(4, 1);
    typeKeys(QStringLiteral("5"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Down);
    QTRY_COMPARE(boxes.texts, QStringList{conversionError(QString())});
    QVERIFY(zortest::settled(form.get()));
    press(Qt::Key_Down);
    QTRY_COMPARE(boxes.texts.size(), 2);
    QVERIFY(zortest::settled(form.get()));
    // Still in the emptied cell, which the user can put right at once.
    QCOMPARE(current(grid), qMakePair(4, 1));
    QCOMPARE(grid->cellText(4, 1), QString());
    QVERIFY2(focused() == grid || grid->isAncestorOf(focused()), "the focus went elsewhere");
    QCOMPARE(zortest::sumLabel(*form, "Sum4")->text(), QStringLiteral("0"));

    typeKeys(QStringLiteral("7"));
    press(Qt::Key_Down);
    QCOMPARE(current(grid), qMakePair(5, 1));
    QCOMPARE(grid->cellText(4, 1), QStringLiteral("7"));
    QCOMPARE(zortest::sumLabel(*form, "Sum4")->text(), QStringLiteral("7"));
    QCOMPARE(boxes.texts.size(), 2);
}

void TstGridKeys::aCellWithoutANumberCanAlwaysBeReached()
{
    zortest::BoxAnswerer boxes;
    // However a cell came to hold no number, the way to it stays open.
    grid->setCellText(6, 2, QString());
    const QRect r = grid->visualRect(grid->model()->index(6, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QCOMPARE(current(grid), qMakePair(6, 2));
    // ...and it stays current until it holds one.
    press(Qt::Key_Up);
    QTRY_COMPARE(boxes.texts.size(), 1);
    QVERIFY(zortest::settled(form.get()));
    QCOMPARE(current(grid), qMakePair(6, 2));
    typeKeys(QStringLiteral("3"));
    press(Qt::Key_Return);
    QCOMPARE(current(grid), qMakePair(7, 1));
    QCOMPARE(zortest::sumLabel(*form, "WSum")->text(), QStringLiteral("3"));
}

void TstGridKeys::tabLeavesTheGridAtItsEnds()
{
    // From the last count cell, typing first.
    editAt(7, 2);
    typeKeys(QStringLiteral("9"));
    press(Qt::Key_Tab);
    QVERIFY2(focused() != grid && !grid->isAncestorOf(focused()),
             "Tab from the last cell stayed in the grid");
    QCOMPARE(grid->cellText(7, 2), QStringLiteral("9"));
    QCOMPARE(zortest::sumLabel(*form, "Sum7")->text(), QStringLiteral("9"));

    // Back with Shift+Tab lands in the grid; Shift+Tab from the first cell leaves it.
    grid->setFocus(Qt::OtherFocusReason);
    grid->setCurrentCell(1, 1);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY2(focused() != grid && !grid->isAncestorOf(focused()),
             "Shift+Tab from the first cell stayed");

    // In between Tab walks the cells as before.
    grid->setFocus(Qt::OtherFocusReason);
    grid->setCurrentCell(3, 2);
    press(Qt::Key_Tab);
    QCOMPARE(current(grid), qMakePair(4, 1));
    QCOMPARE(focused(), static_cast<QWidget *>(grid));
}

void TstGridKeys::homeGoesToTheFirstCountCell()
{
    grid->setCurrentCell(5, 2);
    press(Qt::Key_Home);
    QCOMPARE(current(grid), qMakePair(1, 1));
    grid->setCurrentCell(6, 1);
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(current(grid), qMakePair(1, 1));
    // From an open cell editor too, with the typed count taken in.
    editAt(4, 2);
    typeKeys(QStringLiteral("8"));
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(current(grid), qMakePair(1, 1));
    QCOMPARE(zortest::sumLabel(*form, "Sum4")->text(), QStringLiteral("8"));
}

void TstGridKeys::contextMenuPasteMarksTheReportModified()
{
    editAt(2, 2);
    auto *editor = qobject_cast<QLineEdit *>(focused());
    QVERIFY(editor);
    form->setModified(false);
    QApplication::clipboard()->setText(QStringLiteral("42"));
    // The editor's own context menu, its paste entry chosen.
    std::unique_ptr<QMenu> menu(editor->createStandardContextMenu());
    QAction *paste = nullptr;
    for (QAction *a : menu->actions()) {
        if (a->text().contains(QLatin1String("Paste"))
            || a->text().contains(QString::fromUtf8("Einf\u00fcgen")))
            paste = a;
    }
    QVERIFY2(paste && paste->isEnabled(), "the context menu offers no paste");
    paste->trigger();
    QCOMPARE(editor->text(), QStringLiteral("42"));
    QVERIFY(form->isModified());
}

void TstGridKeys::saveTakesTheOpenEditorsText()
{
    QTemporaryDir dir;
    zortest::fillComplete(*form);
    grid->setCellText(1, 1, QStringLiteral("12"));
    const QString path = dir.filePath(QStringLiteral("verein.zor"));
    form->setCurrentFileName(path);

    editAt(1, 1);
    typeKeys(QStringLiteral("77"));
    press(Qt::Key_S, Qt::ControlModifier); // saved while the cell is still being edited
    QVERIFY2(QFile::exists(path), "nothing was saved");
    const zor::ReportAsRead back = zor::readReport(zortest::readAll(path));
    QCOMPARE(back.report.counts[0][zor::Men], QStringLiteral("77"));
}

void TstGridKeys::pdfTakesTheOpenEditorsText()
{
    QTemporaryDir dir;
    grid->setCellText(1, 1, QStringLiteral("12"));
    editAt(1, 1);
    typeKeys(QStringLiteral("77"));
    zortest::dialogs().setScripted(true);
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    zortest::dialogs().primeFile(path);
    zortest::trigger(*form, "FileSavePdf"); // from the menu, the cell still being edited
    QVERIFY2(QFile::exists(path), "no PDF was written");
    const QString text = zortest::pdfText(path);
    QVERIFY2(text.contains(QLatin1String("77")), qPrintable(text));
}

QTEST_MAIN(TstGridKeys)
#include "tst_gridkeys.moc"
