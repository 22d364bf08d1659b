// The masters list as a person uses it in a real X server: double clicks on
// the buttons, the buttons' state after Delete and Modify, the grade stepped
// by the keyboard, and a whole entry typed without the mouse.

#include "tests/support/realx.h"
#include "ui_tsdiappform.h"

#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

using zortest::focused;
using zortest::press;
using zortest::typeKeys;

class TstMastersKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void doubleClickOnDeleteDeletesOneEntry();
    void afterDeleteNothingIsSelectedAndTheButtonsAreOff();
    void aSecondClickOnModifyKeepsTheEntryTakenOut();
    void wholeEntryByKeyboardAndBackToTheFirstName();

private:
    void select(const QString &entry);
    void idle() { zortest::idle(*form); }

    std::unique_ptr<TSDIAppForm> form;
    Ui::TSDIAppForm *ui = nullptr;
};

void TstMastersKeys::init()
{
    form = zortest::makeActiveForm();
    ui = form->form();
    form->pages()->setCurrentWidget(ui->Meister);
    form->setMasters({"a;a;1", "b;b;2", "c;c;3", "d;d;4"});
    form->Modified = 0;
}

void TstMastersKeys::cleanup()
{
    form.reset();
    zortest::dialogs().reset();
}

void TstMastersKeys::select(const QString &entry)
{
    const auto found = ui->Liste->findItems(entry, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(entry));
    const QRect r = ui->Liste->visualItemRect(found.first());
    QTest::mouseClick(ui->Liste->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QVERIFY(found.first()->isSelected());
    idle();
    QVERIFY(ui->DelBtn->isEnabled());
    QVERIFY(ui->ModBtn->isEnabled());
}

void TstMastersKeys::doubleClickOnDeleteDeletesOneEntry()
{
    select(QStringLiteral("b;b;2"));
    // Both clicks of a double click, before the event queue runs empty.
    QTest::mouseClick(ui->DelBtn, Qt::LeftButton);
    QTest::mouseClick(ui->DelBtn, Qt::LeftButton);
    QCOMPARE(form->masters(), (QStringList{"a;a;1", "c;c;3", "d;d;4"}));
    QCOMPARE(form->Modified, 1);
}

void TstMastersKeys::afterDeleteNothingIsSelectedAndTheButtonsAreOff()
{
    select(QStringLiteral("c;c;3"));
    QTest::mouseClick(ui->DelBtn, Qt::LeftButton);
    QVERIFY(ui->Liste->selectedItems().isEmpty());
    idle();
    QVERIFY(!ui->DelBtn->isEnabled());
    QVERIFY(!ui->ModBtn->isEnabled());
    QTest::mouseClick(ui->DelBtn, Qt::LeftButton);
    QCOMPARE(form->masters(), (QStringList{"a;a;1", "b;b;2", "d;d;4"}));
}

void TstMastersKeys::aSecondClickOnModifyKeepsTheEntryTakenOut()
{
    select(QStringLiteral("b;b;2"));
    QTest::mouseClick(ui->ModBtn, Qt::LeftButton);
    idle();
    QTest::mouseClick(ui->ModBtn, Qt::LeftButton);
    QTest::mouseClick(ui->ModBtn, Qt::LeftButton);
    QCOMPARE(ui->NName->text(), QStringLiteral("b"));
    QCOMPARE(ui->VName->text(), QStringLiteral("b"));
    QCOMPARE(ui->Grad->text(), QStringLiteral("2"));
    QCOMPARE(form->masters(), (QStringList{"a;a;1", "c;c;3", "d;d;4"}));
    QVERIFY(ui->Liste->selectedItems().isEmpty());
    QVERIFY(!ui->ModBtn->isEnabled());
}

void TstMastersKeys::wholeEntryByKeyboardAndBackToTheFirstName()
{
    ui->VName->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->VName));
    typeKeys(QStringLiteral("Eva"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget *>(ui->NName));
    typeKeys(QStringLiteral("Berg"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget *>(ui->Grad));
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    QCOMPARE(ui->Grad->text(), QStringLiteral("3"));
    typeKeys(QStringLiteral("7")); // the grade takes no typed digits
    QCOMPARE(ui->Grad->text(), QStringLiteral("3"));
    press(Qt::Key_Down);
    QCOMPARE(ui->Grad->text(), QStringLiteral("2"));
    QCOMPARE(ui->UpDown2->value(), 2);
    idle();
    ui->AddBtn->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QCOMPARE(form->masters(), (QStringList{"a;a;1", "b;b;2", "Berg;Eva;2", "c;c;3", "d;d;4"}));
    QCOMPARE(focused(), static_cast<QWidget *>(ui->VName));
    // Ten is the top grade; one more step stays there.
    ui->Grad->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 12; ++i)
        press(Qt::Key_Up);
    QCOMPARE(ui->Grad->text(), QStringLiteral("10"));
}

QTEST_MAIN(TstMastersKeys)
#include "tst_masterskeys.moc"
