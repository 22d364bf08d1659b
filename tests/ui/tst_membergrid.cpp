// The member-count grid in the real window: keys, Enter's path, the sums and
// the conversion error that keeps the user in a faulty cell.

#include "tests/support/formfixture.h"
#include "tests/support/windowtest.h"
#include "ui/zahlengrid.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>

namespace {

QPair<int, int> current(ZahlenGrid *g)
{
    return {g->currentRow(), g->currentColumn()};
}

QStringList sums(const TSDIAppForm &form)
{
    QStringList out;
    for (const char *n :
         {"Sum1", "Sum2", "Sum3", "Sum4", "Sum5", "Sum6", "Sum7", "MSum", "WSum", "AllSum"})
        out << zortest::sumLabel(form, n)->text();
    return out;
}

QString conversionError(const QString &text)
{
    return QString::fromUtf8("error|ZOR-Quorvane|'%1' ist kein g\u00fcltiger Integerwert")
            .arg(text);
}

} // namespace

class TstMemberGrid : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstMemberGrid()
        : WindowTest(Kind::Shown)
    { }

private slots:
    void newReportShowsHeadingsZerosAndZeroSums();
    void digitsAreTakenLettersAndPunctuationAreNot();
    void anAcceptedKeyMarksModifiedEvenWithoutChange();
    void pasteOfNonDigitsChangesNothing();
    void enterWalksAllFourteenCellsWhateverModifierIsHeld();
    void threeMenAndFourWomenInRowFour();
    void leadingZerosCount();
    void noNumberKeepsTheUserInTheCell_data();
    void noNumberKeepsTheUserInTheCell();
    void headingsNeverBecomeCurrent();
    void sumsFollowWhenTheGridLosesTheFocus();

private:
    void prepare() override
    {
        grid = zortest::focusGrid(*form);
        QVERIFY(grid);
    }

    void startEditingAt(int row, int col);

    ZahlenGrid *grid = nullptr;
};

void TstMemberGrid::startEditingAt(int row, int col)
{
    QVERIFY2(zortest::editCell(grid, row, col), "no cell editor opened");
}

void TstMemberGrid::newReportShowsHeadingsZerosAndZeroSums()
{
    const QStringList col0{"Altersgruppe",  " 0 -  6 Jahre",
                           " 7 - 14 Jahre", "15 - 18 Jahre",
                           "19 - 26 Jahre", "27 - 40 Jahre",
                           "41 - 60 Jahre", QString::fromUtf8("\u00fcber 60 Jahre")};
    for (int r = 0; r < 8; ++r)
        QCOMPARE(grid->cellText(r, 0), col0.at(r));
    QCOMPARE(grid->cellText(0, 1), QString::fromUtf8("M\u00e4nner"));
    QCOMPARE(grid->cellText(0, 2), QStringLiteral("Frauen"));
    for (int r = 1; r < 8; ++r) {
        for (int c = 1; c < 3; ++c)
            QCOMPARE(grid->cellText(r, c), QStringLiteral("0"));
    }
    QCOMPARE(sums(*form), QStringList(10, QStringLiteral("0")));
    QVERIFY(zortest::sumLabel(*form, "AllSum")->font().bold());
}

void TstMemberGrid::digitsAreTakenLettersAndPunctuationAreNot()
{
    zortest::typeKeys(QStringLiteral("a.,"));
    QCOMPARE(grid->cellText(1, 1), QStringLiteral("0"));
    QVERIFY(!form->isModified());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(grid)); // no editor opened

    zortest::typeKeys(QStringLiteral("4x2-"));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor, "typing a digit did not open the cell editor");
    QCOMPARE(editor->text(), QStringLiteral("42"));
    QVERIFY(form->isModified());
    zortest::press(Qt::Key_Return);
    QCOMPARE(grid->cellText(1, 1), QStringLiteral("42"));
    QCOMPARE(zortest::sumLabel(*form, "Sum1")->text(), QStringLiteral("42"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("42"));
}

void TstMemberGrid::anAcceptedKeyMarksModifiedEvenWithoutChange()
{
    startEditingAt(3, 2);
    QVERIFY(!form->isModified()); // F2 is no typed character
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    editor->setCursorPosition(0);
    zortest::typeKeys(QStringLiteral("0"));
    QCOMPARE(editor->text(), QStringLiteral("00"));
    QVERIFY(form->isModified());

    form->setModified(false);
    zortest::press(Qt::Key_Return);
    QVERIFY(form->isModified()); // Enter counts as an accepted key
    QCOMPARE(grid->cellText(3, 2), QStringLiteral("00"));

    form->setModified(false);
    zortest::press(Qt::Key_Left);
    zortest::press(Qt::Key_Tab);
    QVERIFY(!form->isModified()); // moving around is no change

    // Delete edits the cell as Backspace does, and counts the same: also
    // where there is nothing to take away.
    auto *cell = zortest::editCell(grid, 5, 1);
    QVERIFY(cell);
    cell->setText(QStringLiteral("45"));
    form->setModified(false);
    cell->setCursorPosition(0);
    zortest::press(Qt::Key_Delete);
    QCOMPARE(cell->text(), QStringLiteral("5"));
    QVERIFY(form->isModified());
    form->setModified(false);
    cell->end(false);
    zortest::press(Qt::Key_Delete);
    QCOMPARE(cell->text(), QStringLiteral("5"));
    QVERIFY(form->isModified());
    zortest::press(Qt::Key_Return);
    QCOMPARE(grid->cellText(5, 1), QStringLiteral("5"));
}

void TstMemberGrid::pasteOfNonDigitsChangesNothing()
{
    startEditingAt(2, 1);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    editor->setText(QStringLiteral("5"));
    QApplication::clipboard()->setText(QStringLiteral("12a"));
    zortest::press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QStringLiteral("5"));
    editor->paste(); // the context menu's way in
    QCOMPARE(editor->text(), QStringLiteral("5"));
    QApplication::clipboard()->setText(QStringLiteral("7"));
    editor->end(false);
    editor->paste();
    QCOMPARE(editor->text(), QStringLiteral("57"));
}

void TstMemberGrid::enterWalksAllFourteenCellsWhateverModifierIsHeld()
{
    const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                          Qt::AltModifier};
    QList<QPair<int, int>> path;
    for (int i = 0; i < 14; ++i) {
        const Qt::Key k = i % 2 ? Qt::Key_Enter : Qt::Key_Return;
        zortest::press(k, mods[i % 4] | (k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier));
        path << current(grid);
    }
    QList<QPair<int, int>> expected;
    for (int r = 1; r <= 7; ++r)
        expected << qMakePair(r, 1) << qMakePair(r, 2);
    expected.removeFirst();
    expected << qMakePair(1, 1);
    QCOMPARE(path, expected);

    // The same path while a cell is being edited.
    startEditingAt(7, 2);
    zortest::press(Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(current(grid), qMakePair(1, 1));
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstMemberGrid::threeMenAndFourWomenInRowFour()
{
    grid->setCellText(1, 1, QStringLiteral("10"));
    grid->setCellText(7, 2, QStringLiteral("5"));
    form->showReport(form->currentReport()); // the sums of these cells
    const QStringList before = sums(*form);
    QCOMPARE(before.mid(7), (QStringList{"10", "5", "15"}));

    startEditingAt(4, 1);
    zortest::typeKeys(QStringLiteral("3"));
    zortest::press(Qt::Key_Return);
    QCOMPARE(current(grid), qMakePair(4, 2));
    zortest::typeKeys(QStringLiteral("4"));
    zortest::press(Qt::Key_Return);
    QCOMPARE(current(grid), qMakePair(5, 1));
    QCOMPARE(zortest::sumLabel(*form, "Sum4")->text(), QStringLiteral("7"));
    QCOMPARE(sums(*form).mid(7), (QStringList{"13", "9", "22"}));
    QCOMPARE(zortest::sumLabel(*form, "Sum1")->text(), QStringLiteral("10"));
    QCOMPARE(zortest::sumLabel(*form, "Sum7")->text(), QStringLiteral("5"));
}

void TstMemberGrid::leadingZerosCount()
{
    startEditingAt(6, 2);
    zortest::typeKeys(QStringLiteral("0012"));
    zortest::press(Qt::Key_Return);
    QCOMPARE(grid->cellText(6, 2), QStringLiteral("0012"));
    QCOMPARE(zortest::sumLabel(*form, "Sum6")->text(), QStringLiteral("12"));
    QCOMPARE(zortest::sumLabel(*form, "WSum")->text(), QStringLiteral("12"));
}

void TstMemberGrid::noNumberKeepsTheUserInTheCell_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("emptied with Backspace") << QString();
    QTest::newRow("beyond 32 bit") << QStringLiteral("99999999999");
}

void TstMemberGrid::noNumberKeepsTheUserInTheCell()
{
    QFETCH(QString, text);
    grid->setCellText(3, 1, QStringLiteral("8"));
    form->showReport(form->currentReport()); // the sums of these cells
    const QStringList before = sums(*form);

    startEditingAt(2, 1);
    zortest::press(Qt::Key_Backspace);
    zortest::typeKeys(text);
    zortest::press(Qt::Key_Return);
    QCOMPARE(grid->cellText(2, 1), text);
    QCOMPARE(zortest::shownDialogs(), QStringList{conversionError(text)});
    QCOMPARE(current(grid), qMakePair(2, 1));
    QCOMPARE(sums(*form), before);

    // A click on another cell does not take the current cell away.
    zortest::dialogs().clearShown();
    const QRect other = grid->visualRect(grid->model()->index(5, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, other.center());
    QCOMPARE(current(grid), qMakePair(2, 1));
    QCOMPARE(zortest::shownDialogs(), QStringList{conversionError(text)});

    // Nor do the arrow keys or Tab.
    zortest::dialogs().clearShown();
    zortest::press(Qt::Key_Down);
    QCOMPARE(current(grid), qMakePair(2, 1));
    grid->setFocus(Qt::OtherFocusReason);
    zortest::press(Qt::Key_Tab);
    QCOMPARE(current(grid), qMakePair(2, 1));
    QCOMPARE(zortest::shownDialogs().size(), 2);
    QCOMPARE(sums(*form), before);

    // Once the cell holds a number again, everything goes on.
    zortest::dialogs().clearShown();
    startEditingAt(2, 1);
    qobject_cast<QLineEdit *>(QApplication::focusWidget())->clear();
    zortest::typeKeys(QStringLiteral("2"));
    zortest::press(Qt::Key_Return);
    QVERIFY(zortest::dialogs().shown().isEmpty());
    QCOMPARE(current(grid), qMakePair(2, 2));
    QCOMPARE(zortest::sumLabel(*form, "Sum2")->text(), QStringLiteral("2"));
    QCOMPARE(zortest::sumLabel(*form, "MSum")->text(), QStringLiteral("10"));
}

void TstMemberGrid::headingsNeverBecomeCurrent()
{
    for (const auto &cell : {qMakePair(0, 1), qMakePair(3, 0), qMakePair(0, 0)}) {
        QModelIndex idx = grid->model()->index(cell.first, cell.second);
        QVERIFY(!(idx.flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable)));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(idx).center());
        QCOMPARE(current(grid), qMakePair(1, 1));
    }
    zortest::press(Qt::Key_Up);
    zortest::press(Qt::Key_Left);
    QCOMPARE(current(grid), qMakePair(1, 1));
    // Tab from the women's cell goes on to the next row's men, not to a heading.
    grid->setCurrentCell(3, 2);
    zortest::press(Qt::Key_Tab);
    QCOMPARE(current(grid), qMakePair(4, 1));
    zortest::press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(current(grid), qMakePair(3, 2));
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstMemberGrid::sumsFollowWhenTheGridLosesTheFocus()
{
    startEditingAt(5, 1);
    zortest::typeKeys(QStringLiteral("6"));
    QCOMPARE(zortest::sumLabel(*form, "Sum5")->text(),
             QStringLiteral("0")); // typing alone does not add up
    zortest::pages(*form)->tabBar()->setFocus(Qt::TabFocusReason);
    QCOMPARE(grid->cellText(5, 1), QStringLiteral("6"));
    QCOMPARE(zortest::sumLabel(*form, "Sum5")->text(), QStringLiteral("6"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("6"));
}

QTEST_MAIN(TstMemberGrid)
#include "tst_membergrid.moc"
