// The masters list in the real window: Add, Modify, Delete, the grade's
// up-down, the buttons' enabled state and the list's order.

#include "entry/masters.h"
#include "tests/support/formfixture.h"
#include "tests/support/windowtest.h"

#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QtTest>

class TstMastersList : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstMastersList()
        : WindowTest(Kind::Shown)
    { }

private slots:
    void addTrimsTheNamesAndStartsOver();
    void addWithoutFirstNameAddsNothingButTrims();
    void listIsSortedWithoutRegardToCase();
    void modifyTakesTheEntryBackAndAddPutsItBack();
    void deleteRemovesTheSelectedEntry();
    void buttonsFollowTheNamesAndTheSelectionWhenIdle();
    void tenThousandEntriesComeInSorted();

private:
    void prepare() override
    {
        zortest::pages(*form)->setCurrentWidget(zortest::widget<QWidget>(*form, "Meister"));
        form->setModified(false);
    }

    void add(const QString &surname, const QString &firstName, int grade = 1);
    void select(const QString &entry);
};

void TstMastersList::add(const QString &surname, const QString &firstName, int grade)
{
    zortest::widget<QLineEdit>(*form, "NName")->setText(surname);
    zortest::widget<QLineEdit>(*form, "VName")->setText(firstName);
    zortest::widget<QSpinBox>(*form, "UpDown2")->setValue(grade);
    zortest::idle(*form);
    QVERIFY(zortest::widget<QPushButton>(*form, "AddBtn")->isEnabled());
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "AddBtn"), Qt::LeftButton);
}

void TstMastersList::select(const QString &entry)
{
    const auto found
            = zortest::widget<QListWidget>(*form, "Liste")->findItems(entry, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(entry));
    zortest::widget<QListWidget>(*form, "Liste")->setCurrentItem(found.first());
    QVERIFY(found.first()->isSelected());
}

void TstMastersList::addTrimsTheNamesAndStartsOver()
{
    zortest::typeInto(zortest::widget<QLineEdit>(*form, "NName"), QStringLiteral("  Abc "));
    zortest::typeInto(zortest::widget<QLineEdit>(*form, "VName"), QStringLiteral("De"));
    zortest::widget<QSpinBox>(*form, "UpDown2")->setFocus();
    QTest::keyClick(zortest::widget<QSpinBox>(*form, "UpDown2"), Qt::Key_Up);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("2"));
    QVERIFY(!form->isModified()); // typing in the input area is no change of the report
    zortest::idle(*form);
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "AddBtn"), Qt::LeftButton);

    QCOMPARE(form->currentReport().masters, QStringList{"Abc;De;2"});
    QCOMPARE(zortest::widget<QLineEdit>(*form, "NName")->text(), QString());
    QCOMPARE(zortest::widget<QLineEdit>(*form, "VName")->text(), QString());
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("1"));
    QVERIFY(form->isModified());
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));

    // The up-down goes on from the grade shown, not from where it stood.
    QTest::keyClick(zortest::widget<QSpinBox>(*form, "UpDown2"), Qt::Key_Up);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("2"));
}

void TstMastersList::addWithoutFirstNameAddsNothingButTrims()
{
    zortest::widget<QLineEdit>(*form, "NName")->setText(QStringLiteral(" Abc "));
    zortest::widget<QLineEdit>(*form, "VName")->setText(QStringLiteral("   "));
    zortest::idle(*form);
    QVERIFY(zortest::widget<QPushButton>(*form, "AddBtn")
                    ->isEnabled()); // blanks count as filled until Add tidies them
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "AddBtn"), Qt::LeftButton);
    QVERIFY(form->currentReport().masters.isEmpty());
    QCOMPARE(zortest::widget<QLineEdit>(*form, "NName")->text(), QStringLiteral("Abc"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "VName")->text(), QString());
    QVERIFY(!form->isModified());
    QVERIFY(zortest::dialogs().shown().isEmpty());

    zortest::click(*form, "AddBtn"); // the handler itself, as a shortcut would run it
    QVERIFY(form->currentReport().masters.isEmpty());
    QVERIFY(!form->isModified());
}

void TstMastersList::listIsSortedWithoutRegardToCase()
{
    add(QStringLiteral("b"), QStringLiteral("x"), 1);
    add(QStringLiteral("Zander"), QStringLiteral("Uwe"), 10);
    add(QStringLiteral("von Alt"), QStringLiteral("Eva"), 1);
    add(QString::fromUtf8("\u00c4rger"), QStringLiteral("Ida"), 3);
    add(QStringLiteral("Abel"), QStringLiteral("Kai"), 4);
    add(QString::fromUtf8("\u00d6zdemir"), QStringLiteral("Ali"), 5);
    add(QStringLiteral("ober"), QStringLiteral("Eva"), 1);
    // Entries that differ in case alone are equal: each goes after the one
    // added before it, whichever case came first. Any order by case puts one
    // of these two pairs the other way round.
    add(QStringLiteral("abel"), QStringLiteral("Kai"), 4);
    add(QStringLiteral("Von Alt"), QStringLiteral("Eva"), 1);
    add(QStringLiteral("b"), QStringLiteral("x"), 1); // the same master twice is allowed
    const QStringList expected{"Abel;Kai;4",
                               "abel;Kai;4",
                               QString::fromUtf8("\u00c4rger;Ida;3"),
                               "b;x;1",
                               "b;x;1",
                               "ober;Eva;1",
                               QString::fromUtf8("\u00d6zdemir;Ali;5"),
                               "von Alt;Eva;1",
                               "Von Alt;Eva;1",
                               "Zander;Uwe;10"};
    QCOMPARE(form->currentReport().masters, expected);

    // Read in from a file, the same order comes out; equal entries keep the
    // order they had in the file.
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    zortest::setMasters(*form, shuffled);
    QStringList reordered = expected;
    reordered.swapItemsAt(0, 1);
    reordered.swapItemsAt(7, 8);
    QCOMPARE(form->currentReport().masters, reordered);
    zortest::setMasters(*form, expected);
    QCOMPARE(form->currentReport().masters, expected);
}

void TstMastersList::modifyTakesTheEntryBackAndAddPutsItBack()
{
    zortest::setMasters(*form, {"b;x;1", "Abc;De;4", "Zed;Al;2"});
    form->setModified(false);
    select(QStringLiteral("Abc;De;4"));
    zortest::idle(*form);
    QVERIFY(zortest::widget<QPushButton>(*form, "ModBtn")->isEnabled());
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "ModBtn"), Qt::LeftButton);

    QCOMPARE(zortest::widget<QLineEdit>(*form, "NName")->text(), QStringLiteral("Abc"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "VName")->text(), QStringLiteral("De"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("4"));
    QCOMPARE(zortest::widget<QSpinBox>(*form, "UpDown2")->value(), 4);
    QCOMPARE(form->currentReport().masters, (QStringList{"b;x;1", "Zed;Al;2"}));
    QVERIFY(form->isModified());

    zortest::idle(*form);
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "AddBtn"), Qt::LeftButton);
    QCOMPARE(form->currentReport().masters, (QStringList{"Abc;De;4", "b;x;1", "Zed;Al;2"}));
}

void TstMastersList::deleteRemovesTheSelectedEntry()
{
    zortest::setMasters(*form, {"a;a;1", "b;b;2", "c;c;3"});
    form->setModified(false);
    // Without a selection Modify and Delete do nothing, not even mark the report.
    zortest::click(*form, "ModBtn");
    zortest::click(*form, "DelBtn");
    QCOMPARE(form->currentReport().masters.size(), 3);
    QVERIFY(!form->isModified());

    select(QStringLiteral("b;b;2"));
    zortest::idle(*form);
    QTest::mouseClick(zortest::widget<QPushButton>(*form, "DelBtn"), Qt::LeftButton);
    QCOMPARE(form->currentReport().masters, (QStringList{"a;a;1", "c;c;3"}));
    QVERIFY(form->isModified());
    QVERIFY(zortest::dialogs().shown().isEmpty()); // no confirmation
}

void TstMastersList::buttonsFollowTheNamesAndTheSelectionWhenIdle()
{
    auto *addBtn = zortest::widget<QPushButton>(*form, "AddBtn");
    auto *modBtn = zortest::widget<QPushButton>(*form, "ModBtn");
    auto *delBtn = zortest::widget<QPushButton>(*form, "DelBtn");
    auto *surname = zortest::widget<QLineEdit>(*form, "NName");
    auto *firstName = zortest::widget<QLineEdit>(*form, "VName");
    const auto states = [&] {
        zortest::idle(*form);
        return QList<bool>{addBtn->isEnabled(), modBtn->isEnabled(), delBtn->isEnabled()};
    };

    // Add wants both names; Modify and Delete want a selected entry.
    QCOMPARE(states(), (QList<bool>{false, false, false}));
    surname->setText(QStringLiteral("Berg"));
    QCOMPARE(states(), (QList<bool>{false, false, false}));
    firstName->setText(QStringLiteral("Eva"));
    QCOMPARE(states(), (QList<bool>{true, false, false}));
    surname->clear();
    QCOMPARE(states(), (QList<bool>{false, false, false}));

    zortest::setMasters(*form, {"a;a;1", "b;b;2", "c;c;3"});
    QCOMPARE(states(), (QList<bool>{false, false, false})); // nothing selected yet
    select(QStringLiteral("b;b;2"));
    QCOMPARE(states(), (QList<bool>{false, true, true}));

    // Delete turns them off at once; a new selection brings them back.
    QTest::mouseClick(delBtn, Qt::LeftButton);
    QCOMPARE((QList<bool>{modBtn->isEnabled(), delBtn->isEnabled()}), (QList<bool>{false, false}));
    QCOMPARE(states(), (QList<bool>{false, false, false}));
    select(QStringLiteral("c;c;3"));
    QCOMPARE(states(), (QList<bool>{false, true, true}));
    zortest::liste(*form)->clearSelection();
    QCOMPARE(states(), (QList<bool>{false, false, false}));

    // Modify fills both names, so Add is on while Modify and Delete are off.
    select(QStringLiteral("a;a;1"));
    QCOMPARE(states(), (QList<bool>{false, true, true}));
    QTest::mouseClick(modBtn, Qt::LeftButton);
    QCOMPARE(states(), (QList<bool>{true, false, false}));
    QCOMPARE(form->currentReport().masters, QStringList{"c;c;3"});
}

void TstMastersList::tenThousandEntriesComeInSorted()
{
    static const char *const surnames[] = {
            "M\u00fcller",  "m\u00fcller", "Mueller", "\u00c4rmel",      "arm", "Zorn", "zander",
            "Stra\u00dfer", "strauss",     "Bauer",   "\u00d6zt\u00fcrk"};
    QRandomGenerator rng(20240611);
    QStringList entries;
    for (int i = 0; i < 10000; ++i) {
        const QString s = QString::fromUtf8(surnames[rng.bounded(int(std::size(surnames)))]);
        entries << zor::buildMasterEntry(s, QStringLiteral("Vorname%1").arg(rng.bounded(500)),
                                         QString::number(1 + rng.bounded(10)));
    }
    zortest::setMasters(*form, entries);
    const QStringList shown = form->currentReport().masters;
    QCOMPARE(shown.size(), 10000);
    const zor::MastersOrder order;
    for (int i = 1; i < shown.size(); ++i) {
        if (order.lessThan(shown.at(i), shown.at(i - 1)))
            QFAIL(qPrintable(QStringLiteral("out of order at %1: %2 after %3")
                                     .arg(i)
                                     .arg(shown.at(i), shown.at(i - 1))));
    }
    QStringList a = entries, b = shown;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    QVERIFY(a == b);

    // One more master goes to its sorted place among them.
    add(QStringLiteral("Mz"), QStringLiteral("A"), 1);
    const QStringList after = form->currentReport().masters;
    const int at = after.indexOf(QStringLiteral("Mz;A;1"));
    QVERIFY(at > 0 && at < after.size() - 1);
    QVERIFY(!order.lessThan(after.at(at), after.at(at - 1)));
    QVERIFY(!order.lessThan(after.at(at + 1), after.at(at)));
}

QTEST_MAIN(TstMastersList)
#include "tst_masterslist.moc"
