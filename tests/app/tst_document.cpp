// The document flows through the real window: start-up state, the modified
// marker, New/Open/Save/Save As, the close query, the shortcuts, the club
// number field and the idle refresh.

#include "tests/support/formfixture.h"
#include "tests/support/testfiles.h"

#include "app/startup.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

using zor::Answer;

namespace {

const QString question = QString::fromUtf8(
        "Das aktuelle Dokument wurde ge\u00e4ndert. Speichern ?");

void makeChanged(TSDIAppForm &form)
{
    zortest::typeInto(form.form()->Fax, QStringLiteral("1"));
    QCOMPARE(form.Modified, 1);
}

} // namespace

class TstDocument : public QObject
{
    Q_OBJECT

private slots:
    void init() { zortest::dialogs().reset(); }

    void startsAsNewCleanReport()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        QCOMPARE(form->windowTitle(), QStringLiteral("ZOR-Quorvane"));
        QCOMPARE(ui->Nummer->text(), QStringLiteral("0000"));
        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i != int(zor::Field::Nummer))
                QVERIFY2(form->field(zor::Field(i))->text().isEmpty(),
                         qPrintable(zor::fieldObjectName(i)));
        }
        for (int r = 1; r <= 7; ++r) {
            QCOMPARE(form->zahlen()->cellText(r, 1), QStringLiteral("0"));
            QCOMPARE(form->zahlen()->cellText(r, 2), QStringLiteral("0"));
        }
        QCOMPARE(ui->AllSum->text(), QStringLiteral("0"));
        QCOMPARE(ui->Grad->text(), QStringLiteral("1"));
        QCOMPARE(ui->PgCrtl->currentWidget(), ui->Verein);
        QCOMPARE(form->Modified, 0);
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), QString());
        QVERIFY(form->currentFileName().isEmpty());
        QVERIFY(form->helpFile().endsWith(QStringLiteral("/zorhelp.htm")));

        // Exit on an untouched report asks nothing and closes.
        ui->FileExit1->trigger();
        QVERIFY(zortest::dialogs().shown().isEmpty());
        QVERIFY(!form->isVisible());
    }

    void textFieldsMarkModifiedButMasterNamesDoNot()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        zortest::typeInto(ui->NName, QStringLiteral("Abc"));
        zortest::typeInto(ui->VName, QStringLiteral("De"));
        zortest::idle(*form);
        QCOMPARE(form->Modified, 0);
        QCOMPARE(zortest::statusText(*form), QString());

        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i == int(zor::Field::Nummer))
                continue;
            form->Modified = 0;
            QLineEdit *edit = form->field(zor::Field(i));
            ui->PgCrtl->setCurrentWidget(edit->parentWidget());
            zortest::typeInto(edit, QStringLiteral("x"));
            QVERIFY2(form->Modified == 1, qPrintable(zor::fieldObjectName(i)));
        }
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
    }

    void idleRefreshRunsWhenTheQueueRunsEmpty()
    {
        auto form = zortest::makeForm();
        const auto spinOnce = [] {
            // A real event loop that blocks until the timer: its dispatcher says aboutToBlock.
            QEventLoop loop;
            QTimer::singleShot(30, &loop, &QEventLoop::quit);
            loop.exec();
        };
        form->Modified = 1;
        QVERIFY(zortest::statusText(*form).isEmpty());
        spinOnce();
        QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
        form->Modified = 0;
        spinOnce();
        QCOMPARE(zortest::statusText(*form), QString());
    }

    void newAsksAndFollowsTheAnswer_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("reset");
        // Ja, but the Save As dialog is cancelled: the report was not saved, so it stays.
        QTest::newRow("Ja, not saved") << int(Answer::Yes) << false;
        QTest::newRow("Nein") << int(Answer::No) << true;
        QTest::newRow("Abbrechen") << int(Answer::Cancel) << false;
    }

    void newAsksAndFollowsTheAnswer()
    {
        QFETCH(int, answer);
        QFETCH(bool, reset);
        auto form = zortest::makeForm();
        auto *ui = form->form();
        ui->PgCrtl->setCurrentWidget(ui->Web);
        zortest::typeInto(ui->DOrt, QStringLiteral("Musterstadt"));
        makeChanged(*form);

        zortest::dialogs().primeAnswer(Answer(answer));
        zortest::dialogs().primeFile(QString()); // Yes saves: the Save As dialog is cancelled
        ui->FileNew1->trigger();

        QVERIFY(!zortest::dialogs().shown().isEmpty());
        const auto &q = zortest::dialogs().shown().first();
        QCOMPARE(q.kind, QStringLiteral("message"));
        QCOMPARE(q.caption, QStringLiteral("ZOR-Quorvane"));
        QCOMPARE(q.text, question);
        QCOMPARE(q.buttons, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein"),
                                         QStringLiteral("Abbrechen")}));
        if (Answer(answer) == Answer::Yes) {
            QCOMPARE(zortest::dialogs().shown().size(), 2);
            QCOMPARE(zortest::dialogs().shown().at(1).kind, QStringLiteral("save"));
            QCOMPARE(zortest::dialogs().shown().at(1).caption, QStringLiteral("Speichern unter"));
        }
        if (reset) {
            QVERIFY(ui->DOrt->text().isEmpty());
            QVERIFY(ui->Fax->text().isEmpty());
            QCOMPARE(form->Modified, 0);
            QCOMPARE(ui->PgCrtl->currentWidget(), ui->Web); // the page shown does not change
        } else {
            QCOMPARE(ui->DOrt->text(), QStringLiteral("Musterstadt"));
            QCOMPARE(form->Modified, 1);
        }
    }

    void newOnACleanReportAsksNothing()
    {
        auto form = zortest::makeForm();
        form->form()->FileNew1->trigger();
        QVERIFY(zortest::dialogs().shown().isEmpty());
    }

    void resetNeverFailsOnAHalfTypedClubNumber()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        ui->Nummer->setText(QStringLiteral("12"));
        QVERIFY(!ui->Nummer->hasAcceptableInput());
        zortest::dialogs().primeAnswer(Answer::No);
        ui->FileNew1->trigger();
        QCOMPARE(ui->Nummer->text(), QStringLiteral("0000"));
        QCOMPARE(form->Modified, 0);
        for (const auto &d : zortest::dialogs().shown())
            QVERIFY2(d.kind != QLatin1String("error"), qPrintable(d.text));
    }

    void saveWithoutANameRunsSaveAsAndCancelWritesNothing()
    {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        auto form = zortest::makeForm();
        makeChanged(*form);
        zortest::dialogs().primeFile(QString());
        form->form()->FileSave1->trigger();
        QCOMPARE(zortest::dialogs().shown().size(), 1);
        const auto &d = zortest::dialogs().shown().first();
        QCOMPARE(d.kind, QStringLiteral("save"));
        QCOMPARE(d.caption, QStringLiteral("Speichern unter"));
        QCOMPARE(d.filter, QStringLiteral("Quorvane(*.zor)"));
        QVERIFY(form->currentFileName().isEmpty());
        QCOMPARE(form->Modified, 1);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void saveAsKeepsTheChosenNameEvenWhenTheSaveIsRefused()
    {
        QTemporaryDir dir;
        auto form = zortest::makeForm();
        makeChanged(*form);
        const QString chosen = dir.filePath(QStringLiteral("bericht"));
        zortest::dialogs().primeFile(chosen);
        form->form()->FileSaveAs1->trigger();
        // The default extension is added when none was typed.
        QCOMPARE(form->currentFileName(), chosen + QStringLiteral(".zor"));
        QCOMPARE(form->Modified, 1); // the new report is incomplete: nothing written
        QVERIFY(!QFile::exists(chosen + QStringLiteral(".zor")));
    }

    void closeQueryFollowsTheAnswer_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("&Ja, save refused") << int(Answer::Yes) << false;
        QTest::newRow("&Nein") << int(Answer::No) << true;
        QTest::newRow("Abbrechen") << int(Answer::Cancel) << false;
    }

    void closeQueryFollowsTheAnswer()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        auto form = zortest::makeForm();
        makeChanged(*form);
        zortest::dialogs().primeAnswer(Answer(answer));
        zortest::dialogs().primeFile(QString());
        form->close();
        QVERIFY(!zortest::dialogs().shown().isEmpty());
        const auto &q = zortest::dialogs().shown().first();
        QCOMPARE(q.kind, QStringLiteral("confirm"));
        QCOMPARE(q.caption, QString::fromUtf8("Best\u00e4tigung"));
        QCOMPARE(q.text, question);
        QCOMPARE(q.buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"),
                                         QStringLiteral("Abbrechen")}));
        QCOMPARE(!form->isVisible(), closes);
    }

    void shortcutsWorkFromEveryPage()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        const QList<QPair<QWidget *, QWidget *>> places = {{ui->Verein, ui->Tel},
                                                           {ui->Mitglieder, ui->Zahlen},
                                                           {ui->Meister, ui->NName},
                                                           {ui->Web, ui->DName}};
        for (const auto &place : places) {
            ui->PgCrtl->setCurrentWidget(place.first);
            place.second->setFocus();
            QVERIFY(QTest::qWaitFor([&] { return place.second->hasFocus(); }));

            zortest::dialogs().clearShown();
            zortest::dialogs().primeFile(QString());
            QTest::keyClick(place.second, Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(zortest::shownDialogs(), QStringList{QStringLiteral("open||")});

            zortest::dialogs().clearShown();
            zortest::dialogs().primeFile(QString());
            QTest::keyClick(place.second, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(zortest::shownDialogs(), QStringList{QStringLiteral("save|Speichern unter|")});

            zortest::dialogs().clearShown();
            form->Modified = 1;
            zortest::dialogs().primeAnswer(Answer::Cancel);
            QTest::keyClick(place.second, Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(zortest::shownDialogs(),
                     QStringList{QStringLiteral("message|ZOR-Quorvane|") + question});
            form->Modified = 0;
        }
    }

    void openMakesTheFileCurrentOnlyWhenItWasRead()
    {
        QTemporaryDir dir;
        auto form = zortest::makeForm();
        const QString good = dir.filePath(QStringLiteral("verein.zor"));
        QList<QByteArray> lines = {"Sportverein Beispielhausen",
                                   "0042",
                                   "Ab12",
                                   "Erika",
                                   "Muster",
                                   "Hauptstr. 1",
                                   "12345",
                                   "Beispielhausen",
                                   "0123456789",
                                   "-",
                                   "-",
                                   "-",
                                   "-",
                                   "12345",
                                   "-",
                                   "-",
                                   "6 0 0",
                                   "14 0 0",
                                   "18 0 0",
                                   "26 3 2",
                                   "40 0 0",
                                   "60 0 0",
                                   "500 5 0",
                                   "Abc;De;3"};
        QVERIFY(zortest::writeAll(good, zortest::crlfLines(lines)));

        zortest::dialogs().primeFile(good);
        form->form()->FileOpen1->trigger();
        QCOMPARE(form->currentFileName(), good);
        QCOMPARE(form->form()->Vereinsname->text(), QStringLiteral("Sportverein Beispielhausen"));
        QCOMPARE(form->Modified, 0);

        // A file that cannot be read does not take the report's file name.
        const QString missing = dir.filePath(QStringLiteral("fehlt.zor"));
        zortest::dialogs().clearShown();
        zortest::dialogs().primeFile(missing);
        form->form()->FileOpen1->trigger();
        QCOMPARE(form->currentFileName(), good);
        bool warned = false;
        for (const auto &d : zortest::dialogs().shown())
            warned = warned
                     || (d.kind == QLatin1String("warning")
                         && d.text.startsWith(
                                 QStringLiteral("Datei kann nicht ge\u00f6ffnet werden")));
        QVERIFY(warned);

        // Cancelling the open dialog changes nothing.
        form->form()->Code->setText(QStringLiteral("Xy"));
        zortest::dialogs().primeAnswer(Answer::No);
        zortest::dialogs().primeFile(QString());
        form->form()->FileOpen1->trigger();
        QCOMPARE(form->form()->Code->text(), QStringLiteral("Xy"));
    }

    void clubNumberRefusesToBeLeftHalfFilled()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        ui->Nummer->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return ui->Nummer->hasFocus(); }));
        ui->Nummer->selectAll();
        QTest::keyClicks(ui->Nummer, QStringLiteral("12"));
        QCOMPARE(ui->Nummer->displayText(), QStringLiteral("12__"));
        QCOMPARE(form->Modified, 1);

        ui->Code->setFocus();
        QTRY_VERIFY(ui->Nummer->hasFocus());
        QCOMPARE(zortest::dialogs().shown().size(), 1);
        QCOMPARE(
                zortest::dialogs().shown().first().text,
                QString::fromUtf8(
                        "Ung\u00fcltiger Eingabewert. Benutzen Sie die ESC-Taste, um die \u00c4nderungen "
                        "r\u00fcckg\u00e4ngig zu machen."));

        // Escape brings back the value from before the editing.
        QTest::keyClick(ui->Nummer, Qt::Key_Escape);
        QCOMPARE(ui->Nummer->text(), QStringLiteral("0000"));
        zortest::dialogs().clearShown();
        ui->Code->setFocus();
        QTRY_VERIFY(ui->Code->hasFocus());
        for (const auto &d : zortest::dialogs().shown())
            QVERIFY(d.kind != QLatin1String("error"));

        // Only digits go in.
        ui->Nummer->setFocus();
        QTRY_VERIFY(ui->Nummer->hasFocus());
        ui->Nummer->home(false);
        QTest::keyClicks(ui->Nummer, QStringLiteral("a1b2c3d4"));
        QCOMPARE(ui->Nummer->text(), QStringLiteral("1234"));
    }

    void fieldsHoldOnlyWhatTheFileCanHold()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        zortest::typeInto(ui->Ort, QString::fromUtf8("M\u00fcnchen \u20ac"));
        QCOMPARE(ui->Ort->text(), QString::fromUtf8("M\u00fcnchen \u20ac"));
        // A character outside Windows-1252 is refused as typed...
        zortest::typeInto(ui->Ort, QString::fromUtf8("\u0142"));
        QCOMPARE(ui->Ort->text(), QString::fromUtf8("M\u00fcnchen \u20ac"));
        // ...and a paste holding one is refused whole.
        QGuiApplication::clipboard()->setText(QString::fromUtf8("Krak\u00f3w \u0141\u00f3d\u017a"));
        ui->Ort->paste();
        QCOMPARE(ui->Ort->text(), QString::fromUtf8("M\u00fcnchen \u20ac"));
        QGuiApplication::clipboard()->setText(QString::fromUtf8("-S\u00fcd"));
        ui->Ort->paste();
        QCOMPARE(ui->Ort->text(), QString::fromUtf8("M\u00fcnchen \u20ac-S\u00fcd"));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zor::installGerman(app);
    TstDocument t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_document.moc"
