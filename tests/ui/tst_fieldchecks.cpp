// The advice given when the focus leaves the club number or the e-mail field.

#include "tests/support/formfixture.h"
#include "tests/support/windowtest.h"
#include "ui/nummeredit.h"

#include <QApplication>
#include <QtTest>

namespace {

const QString clubNumberShown = QString::fromUtf8(
        "message|Eingabepr\u00fcfung: Fehler|\n\n   Bitte Vereinsnummer 4-stellig also in der Form :\n\n"
        "   1214 bzw: 0135 eingeben !\n\n");

} // namespace

class TstFieldChecks : public zortest::WindowTest
{
    Q_OBJECT

public:
    TstFieldChecks()
        : WindowTest(Kind::Shown)
    { }

private slots:
    void leavingClubNumberAtZeroAdvisesEachTime();
    void blanksAreRemovedOneAtATime();
    void onlyBlanksBecomeEmptyWithoutAdvice();
    void addressesThatGetTheHint_data();
    void addressesThatGetTheHint();
    void aContextMenuIsNoLeaving();

private:
    void prepare() override
    {
        zortest::pages(*form)->setCurrentWidget(zortest::widget<QWidget>(*form, "Verein"));
        form->setModified(false);
    }

    void leave(QWidget *from, QWidget *to);
};

void TstFieldChecks::leave(QWidget *from, QWidget *to)
{
    from->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), from);
    to->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), to); // the checks only advise: the focus goes on
}

void TstFieldChecks::leavingClubNumberAtZeroAdvisesEachTime()
{
    leave(zortest::widget<NummerEdit>(*form, "Nummer"),
          zortest::widget<QLineEdit>(*form, "Vereinsname"));
    QCOMPARE(zortest::shownDialogs(), QStringList{clubNumberShown});
    QCOMPARE(zortest::dialogs().shown().first().buttons, QStringList{"OK"});
    leave(zortest::widget<NummerEdit>(*form, "Nummer"), zortest::widget<QLineEdit>(*form, "Code"));
    QCOMPARE(zortest::shownDialogs(), (QStringList{clubNumberShown, clubNumberShown}));
    QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0000"));

    zortest::dialogs().clearShown();
    zortest::widget<NummerEdit>(*form, "Nummer")->setText(QStringLiteral("0135"));
    leave(zortest::widget<NummerEdit>(*form, "Nummer"),
          zortest::widget<QLineEdit>(*form, "Vereinsname"));
    QVERIFY(zortest::dialogs().shown().isEmpty());

    // "0000" typed in gets the same advice.
    zortest::dialogs().clearShown();
    zortest::widget<NummerEdit>(*form, "Nummer")->setText(QStringLiteral("0135"));
    zortest::widget<NummerEdit>(*form, "Nummer")->setFocus(Qt::TabFocusReason);
    zortest::widget<NummerEdit>(*form, "Nummer")->selectAll();
    QTest::keyClicks(zortest::widget<NummerEdit>(*form, "Nummer"), QStringLiteral("0000"));
    QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0000"));
    zortest::widget<QLineEdit>(*form, "Code")->setFocus(Qt::TabFocusReason);
    QCOMPARE(zortest::shownDialogs(), QStringList{clubNumberShown});
}

void TstFieldChecks::blanksAreRemovedOneAtATime()
{
    zortest::widget<QLineEdit>(*form, "Email")->setText(QStringLiteral(" info@ver ein.de "));
    form->setModified(false);
    QStringList seen;
    connect(zortest::widget<QLineEdit>(*form, "Email"), &QLineEdit::textChanged, this,
            [&seen](const QString &t) { seen << t; });
    leave(zortest::widget<QLineEdit>(*form, "Email"), zortest::widget<QLineEdit>(*form, "Tel"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), QStringLiteral("info@verein.de"));
    QCOMPARE(seen, (QStringList{"info@ver ein.de ", "info@verein.de ", "info@verein.de"}));
    QVERIFY(form->isModified());
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstFieldChecks::onlyBlanksBecomeEmptyWithoutAdvice()
{
    zortest::typeInto(zortest::widget<QLineEdit>(*form, "Email"), QStringLiteral("   "));
    zortest::widget<QLineEdit>(*form, "Tel")->setFocus(Qt::TabFocusReason);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), QString());
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstFieldChecks::addressesThatGetTheHint_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("no @") << "info.verein.de"
                          << "info.verein.de";
    QTest::newRow("capitals") << "INFO@VEREIN.DE"
                              << "INFO@VEREIN.DE";
    QTest::newRow("blank kept out") << "kontakt @dojo.net"
                                    << "kontakt@dojo.net";
}

void TstFieldChecks::addressesThatGetTheHint()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    zortest::typeInto(zortest::widget<QLineEdit>(*form, "Email"), typed);
    zortest::widget<QLineEdit>(*form, "Strasse")->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(),
             static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Strasse")));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), kept);
    const QString expected = QStringLiteral(
            "message|Hinweis zur E-Mail-Adresse:|Wenn hier eine Adresse eingegeben wird, muss die Eingabe in dieser "
            "Form erfolgen:\n\n  vorstand@judoclub-musterstadt.de\n\n!!! Punkt.de !!! nicht vergessen!");
    QCOMPARE(zortest::shownDialogs(), QStringList{expected});
}

void TstFieldChecks::aContextMenuIsNoLeaving()
{
    zortest::widget<QLineEdit>(*form, "Email")->setText(QStringLiteral("a b"));
    zortest::widget<QLineEdit>(*form, "Email")->setFocus(Qt::TabFocusReason);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(zortest::widget<QLineEdit>(*form, "Email"), &popup);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), QStringLiteral("a b"));
    QVERIFY(zortest::dialogs().shown().isEmpty());
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(zortest::widget<QLineEdit>(*form, "Email"), &tab);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->text(), QStringLiteral("ab"));
    QCOMPARE(zortest::dialogs().shown().size(), 1);
}

QTEST_MAIN(TstFieldChecks)
#include "tst_fieldchecks.moc"
