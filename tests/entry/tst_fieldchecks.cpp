// The advice given when the focus leaves the club number or the e-mail field.

#include "tests/support/formfixture.h"
#include "ui/nummeredit.h"
#include "ui_tsdiappform.h"

#include <QApplication>
#include <QtTest>

namespace {

const QString clubNumberShown = QString::fromUtf8(
        "message|Eingabepr\u00fcfung: Fehler|\n\n   Bitte Vereinsnummer 4-stellig also in der Form :\n\n"
        "   1214 bzw: 0135 eingeben !\n\n");

} // namespace

class TstFieldChecks : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void leavingClubNumberAtZeroAdvisesEachTime();
    void blanksAreRemovedOneAtATime();
    void onlyBlanksBecomeEmptyWithoutAdvice();
    void addressesThatGetTheHint_data();
    void addressesThatGetTheHint();
    void aContextMenuIsNoLeaving();

private:
    void leave(QWidget *from, QWidget *to);

    std::unique_ptr<TSDIAppForm> form;
    Ui::TSDIAppForm *ui = nullptr;
};

void TstFieldChecks::init()
{
    form = zortest::makeForm();
    ui = form->form();
    form->pages()->setCurrentWidget(ui->Verein);
    form->Modified = 0;
}

void TstFieldChecks::cleanup()
{
    form.reset();
    zortest::dialogs().reset();
}

void TstFieldChecks::leave(QWidget *from, QWidget *to)
{
    from->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), from);
    to->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), to); // the checks only advise: the focus goes on
}

void TstFieldChecks::leavingClubNumberAtZeroAdvisesEachTime()
{
    leave(ui->Nummer, ui->Vereinsname);
    QCOMPARE(zortest::shownDialogs(), QStringList{clubNumberShown});
    QCOMPARE(zortest::dialogs().shown().first().buttons, QStringList{"OK"});
    leave(ui->Nummer, ui->Code);
    QCOMPARE(zortest::shownDialogs(), (QStringList{clubNumberShown, clubNumberShown}));
    QCOMPARE(ui->Nummer->text(), QStringLiteral("0000"));

    zortest::dialogs().clearShown();
    ui->Nummer->setText(QStringLiteral("0135"));
    leave(ui->Nummer, ui->Vereinsname);
    QVERIFY(zortest::dialogs().shown().isEmpty());

    // "0000" typed in gets the same advice.
    zortest::dialogs().clearShown();
    ui->Nummer->setText(QStringLiteral("0135"));
    ui->Nummer->setFocus(Qt::TabFocusReason);
    ui->Nummer->selectAll();
    QTest::keyClicks(ui->Nummer, QStringLiteral("0000"));
    QCOMPARE(ui->Nummer->text(), QStringLiteral("0000"));
    ui->Code->setFocus(Qt::TabFocusReason);
    QCOMPARE(zortest::shownDialogs(), QStringList{clubNumberShown});
}

void TstFieldChecks::blanksAreRemovedOneAtATime()
{
    ui->Email->setText(QStringLiteral(" info@ver ein.de "));
    form->Modified = 0;
    QStringList seen;
    connect(ui->Email, &QLineEdit::textChanged, this, [&seen](const QString &t) { seen << t; });
    leave(ui->Email, ui->Tel);
    QCOMPARE(ui->Email->text(), QStringLiteral("info@verein.de"));
    QCOMPARE(seen, (QStringList{"info@ver ein.de ", "info@verein.de ", "info@verein.de"}));
    QCOMPARE(form->Modified, 1);
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstFieldChecks::onlyBlanksBecomeEmptyWithoutAdvice()
{
    zortest::typeInto(ui->Email, QStringLiteral("   "));
    ui->Tel->setFocus(Qt::TabFocusReason);
    QCOMPARE(ui->Email->text(), QString());
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
    zortest::typeInto(ui->Email, typed);
    ui->Strasse->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(ui->Strasse));
    QCOMPARE(ui->Email->text(), kept);
    const QString expected = QStringLiteral(
            "message|Hinweis zur E-Mail-Adresse:|Wenn hier eine Adresse eingegeben wird, muss die Eingabe in dieser "
            "Form erfolgen:\n\n  vorstand@judoclub-musterstadt.de\n\n!!! Punkt.de !!! nicht vergessen!");
    QCOMPARE(zortest::shownDialogs(), QStringList{expected});
}

void TstFieldChecks::aContextMenuIsNoLeaving()
{
    ui->Email->setText(QStringLiteral("a b"));
    ui->Email->setFocus(Qt::TabFocusReason);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(ui->Email, &popup);
    QCOMPARE(ui->Email->text(), QStringLiteral("a b"));
    QVERIFY(zortest::dialogs().shown().isEmpty());
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(ui->Email, &tab);
    QCOMPARE(ui->Email->text(), QStringLiteral("ab"));
    QCOMPARE(zortest::dialogs().shown().size(), 1);
}

QTEST_MAIN(TstFieldChecks)
#include "tst_fieldchecks.moc"
