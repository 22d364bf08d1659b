// Leaving the club number and the e-mail field in a real X server with a
// window manager and the program's real message boxes: the mask's refusal
// holds every time and for every way out; a menu, or another window, is no
// leaving.

#include "tests/support/realx.h"
#include "tests/support/windowtest.h"
#include "ui/nummeredit.h"

#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

using zortest::focused;
using zortest::press;
using zortest::typeKeys;

namespace {

const QString maskRefusal = QString::fromUtf8(
        "Ung\u00fcltiger Eingabewert. Benutzen Sie die ESC-Taste, um die \u00c4nderungen r\u00fcckg\u00e4ngig zu machen.");

} // namespace

class TstLeavingFields : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstLeavingFields()
        : WindowTest(Kind::Active)
    { }

private slots:
    void halfFilledNumberIsRefusedEveryTime();
    void everyWayOutIsRefused_data();
    void everyWayOutIsRefused();
    void escapeAfterTheBoxRestoresTheNumber();
    void aMenuIsNoLeaving_data();
    void aMenuIsNoLeaving();
    void anotherWindowIsNoLeaving();

private:
    void prepare() override
    {
        zortest::pages(*form)->setCurrentWidget(zortest::widget<QWidget>(*form, "Verein"));
    }

    void typeHalfNumber();
};

void TstLeavingFields::typeHalfNumber()
{
    zortest::widget<NummerEdit>(*form, "Nummer")->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(zortest::widget<NummerEdit>(*form, "Nummer")));
    zortest::widget<NummerEdit>(*form, "Nummer")->selectAll();
    press(Qt::Key_Backspace);
    zortest::widget<NummerEdit>(*form, "Nummer")->setCursorPosition(0);
    typeKeys(QStringLiteral("12"));
    QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("12"));
    QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->displayText(), QStringLiteral("12__"));
}

void TstLeavingFields::halfFilledNumberIsRefusedEveryTime()
{
    zortest::BoxAnswerer boxes;
    typeHalfNumber();
    for (int i = 1; i <= 3; ++i) {
        press(i == 2 ? Qt::Key_Backtab : Qt::Key_Tab, i == 2 ? Qt::ShiftModifier : Qt::NoModifier);
        QTRY_COMPARE(boxes.texts.size(), i);
        QVERIFY(zortest::settled(form.get()));
        QCOMPARE(boxes.texts.last(), maskRefusal);
        QCOMPARE(boxes.captions.last(), QStringLiteral("ZOR-Quorvane"));
        QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<NummerEdit>(*form, "Nummer")));
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->displayText(),
                 QStringLiteral("12__"));
    }
    // Filled up, it may be left, and no other box comes.
    zortest::widget<NummerEdit>(*form, "Nummer")->setCursorPosition(2);
    typeKeys(QStringLiteral("34"));
    press(Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Code")));
    QTest::qWait(100);
    QCOMPARE(boxes.texts.size(), 3);
    QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("1234"));
}

void TstLeavingFields::everyWayOutIsRefused_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("click on another field") << "click";
    QTest::newRow("click on another page's tab") << "tab";
    QTest::newRow("label shortcut Alt+C") << "mnemonic";
    QTest::newRow("Ctrl+Tab") << "ctrltab";
    QTest::newRow("click on the e-mail field") << "email";
}

void TstLeavingFields::everyWayOutIsRefused()
{
    QFETCH(QString, way);
    zortest::widget<QLineEdit>(*form, "Email")
            ->setText(QStringLiteral("ohne-klammeraffe")); // would get its own hint if it were left
    zortest::BoxAnswerer boxes;
    typeHalfNumber();
    for (int round = 1; round <= 2; ++round) {
        if (way == QLatin1String("click")) {
            QTest::mouseClick(zortest::widget<QLineEdit>(*form, "Code"), Qt::LeftButton);
        } else if (way == QLatin1String("email")) {
            QTest::mouseClick(zortest::widget<QLineEdit>(*form, "Email"), Qt::LeftButton);
        } else if (way == QLatin1String("tab")) {
            QTabBar *bar = zortest::widget<QTabWidget>(*form, "PgCrtl")->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
        } else if (way == QLatin1String("mnemonic")) {
            press(Qt::Key_C, Qt::AltModifier);
        } else {
            press(Qt::Key_Tab, Qt::ControlModifier);
        }
        QTRY_COMPARE(boxes.texts.size(), round);
        QVERIFY(zortest::settled(form.get()));
        QCOMPARE(boxes.texts, QStringList(round, maskRefusal)); // the mask's box only
        QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
                 zortest::widget<QWidget>(*form, "Verein"));
        QTRY_COMPARE(focused(),
                     static_cast<QWidget *>(zortest::widget<NummerEdit>(*form, "Nummer")));
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->displayText(),
                 QStringLiteral("12__"));
    }
}

void TstLeavingFields::escapeAfterTheBoxRestoresTheNumber()
{
    zortest::BoxAnswerer boxes;
    zortest::widget<NummerEdit>(*form, "Nummer")->setText(QStringLiteral("0135"));
    // Twice: edit, refused, Escape; after the first time the way out is open.
    for (int round = 1; round <= 2; ++round) {
        typeHalfNumber();
        press(Qt::Key_Tab);
        QTRY_COMPARE(boxes.texts.size(), round);
        QVERIFY(zortest::settled(form.get()));
        press(Qt::Key_Escape);
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0135"));
        if (round == 1) {
            press(Qt::Key_Tab);
            QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Code")));
        }
    }
}

void TstLeavingFields::aMenuIsNoLeaving_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("menuKey");
    QTest::newRow("Nummer at 0000, Alt+D") << "Nummer" << int(Qt::Key_D);
    QTest::newRow("Nummer at 0000, Alt+H") << "Nummer" << int(Qt::Key_H);
    QTest::newRow("Email, Alt+D") << "Email" << int(Qt::Key_D);
    QTest::newRow("Email, Alt+H") << "Email" << int(Qt::Key_H);
}

void TstLeavingFields::aMenuIsNoLeaving()
{
    QFETCH(QString, field);
    QFETCH(int, menuKey);
    zortest::BoxAnswerer boxes;
    QLineEdit *edit = field == QLatin1String("Email")
                              ? static_cast<QLineEdit *>(zortest::widget<QLineEdit>(*form, "Email"))
                              : zortest::widget<NummerEdit>(*form, "Nummer");
    if (edit == zortest::widget<QLineEdit>(*form, "Email"))
        zortest::widget<QLineEdit>(*form, "Email")->setText(QStringLiteral("info@verein"));
    edit->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(edit));

    press(Qt::Key(menuKey), Qt::AltModifier);
    QMenu *menu = menuKey == Qt::Key_D ? zortest::widget<QMenu>(*form, "Datei1")
                                       : zortest::widget<QMenu>(*form, "Hilfe1");
    QTRY_VERIFY2(menu->isVisible(), "the menu did not open");
    QTest::qWait(100);
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(QLatin1Char('|'))));
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    QTRY_COMPARE(focused(), static_cast<QWidget *>(edit));
    QVERIFY(boxes.texts.isEmpty());

    // Really leaving the field afterwards gives the check's advice, once.
    press(Qt::Key_Tab);
    QTRY_COMPARE(boxes.texts.size(), 1);
    QVERIFY(zortest::settled(form.get()));
    QVERIFY(boxes.texts.first().contains(edit == zortest::widget<QLineEdit>(*form, "Email")
                                                 ? QStringLiteral("nicht vergessen")
                                                 : QStringLiteral("Vereinsnummer 4-stellig")));
}

void TstLeavingFields::anotherWindowIsNoLeaving()
{
    zortest::BoxAnswerer boxes;
    zortest::widget<QLineEdit>(*form, "Email")->setText(QStringLiteral("info@verein"));
    zortest::widget<QLineEdit>(*form, "Email")->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Email")));

    // Another program's window takes the focus, then the user comes back.
    QWidget other;
    other.setWindowTitle(QStringLiteral("anderes Programm"));
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_COMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Email")));
    QTest::qWait(100);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), QStringLiteral("info@verein"));
}

QTEST_MAIN(TstLeavingFields)
#include "tst_leavingfields.moc"
