// The masters list in the real window: Add, Modify, Delete, the grade's
// up-down, the buttons' enabled state and the list's order.

#include "entry/masters.h"
#include "tests/support/formfixture.h"
#include "ui_tsdiappform.h"

#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QtTest>

class TstMastersList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addTrimsTheNamesAndStartsOver();
    void addWithoutFirstNameAddsNothingButTrims();
    void listIsSortedWithoutRegardToCase();
    void modifyTakesTheEntryBackAndAddPutsItBack();
    void deleteRemovesTheSelectedEntry();
    void tenThousandEntriesComeInSorted();

private:
    void add(const QString &surname, const QString &firstName, int grade = 1);
    void select(const QString &entry);

    std::unique_ptr<TSDIAppForm> form;
    Ui::TSDIAppForm *ui = nullptr;
};

void TstMastersList::init()
{
    form = zortest::makeForm();
    ui = form->form();
    form->pages()->setCurrentWidget(ui->Meister);
    form->Modified = 0;
}

void TstMastersList::cleanup()
{
    form.reset();
    zortest::dialogs().reset();
}

void TstMastersList::add(const QString &surname, const QString &firstName, int grade)
{
    ui->NName->setText(surname);
    ui->VName->setText(firstName);
    ui->UpDown2->setValue(grade);
    zortest::idle(*form);
    QVERIFY(ui->AddBtn->isEnabled());
    QTest::mouseClick(ui->AddBtn, Qt::LeftButton);
}

void TstMastersList::select(const QString &entry)
{
    const auto found = ui->Liste->findItems(entry, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(entry));
    ui->Liste->setCurrentItem(found.first());
    QVERIFY(found.first()->isSelected());
}

void TstMastersList::addTrimsTheNamesAndStartsOver()
{
    zortest::typeInto(ui->NName, QStringLiteral("  Abc "));
    zortest::typeInto(ui->VName, QStringLiteral("De"));
    ui->UpDown2->setFocus();
    QTest::keyClick(ui->UpDown2, Qt::Key_Up);
    QCOMPARE(ui->Grad->text(), QStringLiteral("2"));
    QCOMPARE(form->Modified, 0); // typing in the input area is no change of the report
    zortest::idle(*form);
    QTest::mouseClick(ui->AddBtn, Qt::LeftButton);

    QCOMPARE(form->masters(), QStringList{"Abc;De;2"});
    QCOMPARE(ui->NName->text(), QString());
    QCOMPARE(ui->VName->text(), QString());
    QCOMPARE(ui->Grad->text(), QStringLiteral("1"));
    QCOMPARE(form->Modified, 1);
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));

    // The up-down goes on from the grade shown, not from where it stood.
    QTest::keyClick(ui->UpDown2, Qt::Key_Up);
    QCOMPARE(ui->Grad->text(), QStringLiteral("2"));
}

void TstMastersList::addWithoutFirstNameAddsNothingButTrims()
{
    ui->NName->setText(QStringLiteral(" Abc "));
    ui->VName->setText(QStringLiteral("   "));
    zortest::idle(*form);
    QVERIFY(ui->AddBtn->isEnabled()); // blanks count as filled until Add tidies them
    QTest::mouseClick(ui->AddBtn, Qt::LeftButton);
    QVERIFY(form->masters().isEmpty());
    QCOMPARE(ui->NName->text(), QStringLiteral("Abc"));
    QCOMPARE(ui->VName->text(), QString());
    QCOMPARE(form->Modified, 0);
    QVERIFY(zortest::dialogs().shown().isEmpty());

    form->AddBtnClick(); // the handler itself, as a shortcut would run it
    QVERIFY(form->masters().isEmpty());
    QCOMPARE(form->Modified, 0);
}

void TstMastersList::listIsSortedWithoutRegardToCase()
{
    add(QStringLiteral("b"), QStringLiteral("x"), 1);
    add(QStringLiteral("A"), QStringLiteral("y"), 2);
    add(QString::fromUtf8("\u00d6zdemir"), QStringLiteral("Ali"), 5);
    add(QStringLiteral("ober"), QStringLiteral("Eva"), 1);
    add(QStringLiteral("Zander"), QStringLiteral("Uwe"), 10);
    add(QStringLiteral("abel"), QStringLiteral("Kai"), 4);
    add(QStringLiteral("b"), QStringLiteral("x"), 1); // the same master twice is allowed
    QCOMPARE(form->masters(),
             (QStringList{"A;y;2", "abel;Kai;4", "b;x;1", "b;x;1", "ober;Eva;1",
                          QString::fromUtf8("\u00d6zdemir;Ali;5"), "Zander;Uwe;10"}));

    // Read in from a file, the same order comes out.
    QStringList shuffled = form->masters();
    std::reverse(shuffled.begin(), shuffled.end());
    const QStringList expected = form->masters();
    form->setMasters(shuffled);
    QCOMPARE(form->masters(), expected);
}

void TstMastersList::modifyTakesTheEntryBackAndAddPutsItBack()
{
    form->setMasters({"b;x;1", "Abc;De;4", "Zed;Al;2"});
    form->Modified = 0;
    select(QStringLiteral("Abc;De;4"));
    zortest::idle(*form);
    QVERIFY(ui->ModBtn->isEnabled());
    QTest::mouseClick(ui->ModBtn, Qt::LeftButton);

    QCOMPARE(ui->NName->text(), QStringLiteral("Abc"));
    QCOMPARE(ui->VName->text(), QStringLiteral("De"));
    QCOMPARE(ui->Grad->text(), QStringLiteral("4"));
    QCOMPARE(ui->UpDown2->value(), 4);
    QCOMPARE(form->masters(), (QStringList{"b;x;1", "Zed;Al;2"}));
    QCOMPARE(form->Modified, 1);

    zortest::idle(*form);
    QTest::mouseClick(ui->AddBtn, Qt::LeftButton);
    QCOMPARE(form->masters(), (QStringList{"Abc;De;4", "b;x;1", "Zed;Al;2"}));
}

void TstMastersList::deleteRemovesTheSelectedEntry()
{
    form->setMasters({"a;a;1", "b;b;2", "c;c;3"});
    form->Modified = 0;
    // Without a selection Modify and Delete do nothing, not even mark the report.
    form->ModBtnClick();
    form->DelBtnClick();
    QCOMPARE(form->masters().size(), 3);
    QCOMPARE(form->Modified, 0);

    select(QStringLiteral("b;b;2"));
    zortest::idle(*form);
    QTest::mouseClick(ui->DelBtn, Qt::LeftButton);
    QCOMPARE(form->masters(), (QStringList{"a;a;1", "c;c;3"}));
    QCOMPARE(form->Modified, 1);
    QVERIFY(zortest::dialogs().shown().isEmpty()); // no confirmation
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
    form->setMasters(entries);
    const QStringList shown = form->masters();
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
    const QStringList after = form->masters();
    const int at = after.indexOf(QStringLiteral("Mz;A;1"));
    QVERIFY(at > 0 && at < after.size() - 1);
    QVERIFY(!order.lessThan(after.at(at), after.at(at - 1)));
    QVERIFY(!order.lessThan(after.at(at + 1), after.at(at)));
}

QTEST_MAIN(TstMastersList)
#include "tst_masterslist.moc"
