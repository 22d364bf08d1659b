// The masters list as a person uses it in a real X server: double clicks on
// the buttons, the buttons' state after Delete and Modify, the grade stepped
// by the keyboard, and a whole entry typed without the mouse.

#include "tests/support/realx.h"
#include "tests/support/windowtest.h"

#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

using zortest::focused;
using zortest::press;
using zortest::typeKeys;

class TstMastersKeys : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstMastersKeys()
        : WindowTest(Kind::Active)
    { }

private slots:
    void doubleClickOnDeleteDeletesOneEntry();
    void afterDeleteNothingIsSelectedAndTheButtonsAreOff();
    void aSecondClickOnModifyKeepsTheEntryTakenOut();
    void wholeEntryByKeyboardAndBackToTheFirstName();

private:
    void prepare() override
    {
        zortest::pages(*form)->setCurrentWidget(zortest::widget<QWidget>(*form, "Meister"));
        zortest::setMasters(*form, {"a;a;1", "b;b;2", "c;c;3", "d;d;4"});
        form->setModified(false);
    }

    void select(const QString &entry);
    void idle() { zortest::idle(*form); }
};

void TstMastersKeys::select(const QString &entry)
{
    const auto found
            = zortest::widget<QListWidget>(*form, "Liste")->findItems(entry, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(entry));
    const QRect r = zortest::widget<QListWidget>(*form, "Liste")->visualItemRect(found.first());
    QTest::mouseClick(zortest::widget<QListWidget>(*form, "Liste")->viewport(), Qt::LeftButton,
                      Qt::NoModifier, r.center());
    QVERIFY(found.first()->isSelected());
    idle();
    QVERIFY(zortest::widget<QPushButton>(*form, "DelBtn")->isEnabled());
    QVERIFY(zortest::widget<QPushButton>(*form, "ModBtn")->isEnabled());
}

void TstMastersKeys::doubleClickOnDeleteDeletesOneEntry()
{
    select(QStringLiteral("b;b;2"));
    // Both clicks of a double click, before the event queue runs empty.
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "DelBtn"), Qt::LeftButton);
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "DelBtn"), Qt::LeftButton);
    QCOMPARE(form->currentReport().masters, (QStringList{"a;a;1", "c;c;3", "d;d;4"}));
    QVERIFY(form->isModified());
}

void TstMastersKeys::afterDeleteNothingIsSelectedAndTheButtonsAreOff()
{
    select(QStringLiteral("c;c;3"));
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "DelBtn"), Qt::LeftButton);
    QVERIFY(zortest::widget<QListWidget>(*form, "Liste")->selectedItems().isEmpty());
    idle();
    QVERIFY(!zortest::widget<QPushButton>(*form, "DelBtn")->isEnabled());
    QVERIFY(!zortest::widget<QPushButton>(*form, "ModBtn")->isEnabled());
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "DelBtn"), Qt::LeftButton);
    QCOMPARE(form->currentReport().masters, (QStringList{"a;a;1", "b;b;2", "d;d;4"}));
}

void TstMastersKeys::aSecondClickOnModifyKeepsTheEntryTakenOut()
{
    select(QStringLiteral("b;b;2"));
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "ModBtn"), Qt::LeftButton);
    idle();
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "ModBtn"), Qt::LeftButton);
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "ModBtn"), Qt::LeftButton);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "NName")->text(), QStringLiteral("b"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "VName")->text(), QStringLiteral("b"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("2"));
    QCOMPARE(form->currentReport().masters, (QStringList{"a;a;1", "c;c;3", "d;d;4"}));
    QVERIFY(zortest::widget<QListWidget>(*form, "Liste")->selectedItems().isEmpty());
    QVERIFY(!zortest::widget<QPushButton>(*form, "ModBtn")->isEnabled());
}

void TstMastersKeys::wholeEntryByKeyboardAndBackToTheFirstName()
{
    zortest::widget<QLineEdit>(*form, "VName")->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "VName")));
    typeKeys(QStringLiteral("Eva"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "NName")));
    typeKeys(QStringLiteral("Berg"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Grad")));
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("3"));
    typeKeys(QStringLiteral("7")); // the grade takes no typed digits
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("3"));
    press(Qt::Key_Down);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("2"));
    QCOMPARE(zortest::widget<QSpinBox>(*form, "UpDown2")->value(), 2);
    idle();
    zortest::widget<QPushButton>(*form, "AddBtn")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QCOMPARE(form->currentReport().masters,
             (QStringList{"a;a;1", "b;b;2", "Berg;Eva;2", "c;c;3", "d;d;4"}));
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "VName")));
    // Ten is the top grade; one more step stays there.
    zortest::widget<QLineEdit>(*form, "Grad")->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 12; ++i)
        press(Qt::Key_Up);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("10"));
}

QTEST_MAIN(TstMastersKeys)
#include "tst_masterskeys.moc"
