// The document flows through the real window: start-up state, the modified
// marker, New/Open/Save/Save As, the close query, the shortcuts, the club
// number field and the idle refresh.

#include "tests/support/formfixture.h"
#include "tests/support/testfiles.h"

#include "app/startup.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using zor::Answer;

namespace {

const QString question = QString::fromUtf8(
        "Das aktuelle Dokument wurde ge\u00e4ndert. Speichern ?");

void makeChanged(TSDIAppForm &form)
{
    zortest::typeInto(zortest::widget<QLineEdit>(form, "Fax"), QStringLiteral("1"));
    QVERIFY(form.isModified());
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
        QCOMPARE(form->windowTitle(), QStringLiteral("ZOR-Quorvane"));
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0000"));
        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i != int(zor::Field::Nummer))
                QVERIFY2(zortest::field(*form, zor::Field(i))->text().isEmpty(),
                         qPrintable(zor::fieldObjectName(i)));
        }
        for (int r = 1; r <= 7; ++r) {
            QCOMPARE(zortest::zahlen(*form)->cellText(r, 1), QStringLiteral("0"));
            QCOMPARE(zortest::zahlen(*form)->cellText(r, 2), QStringLiteral("0"));
        }
        QCOMPARE(zortest::widget<QLabel>(*form, "AllSum")->text(), QStringLiteral("0"));
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), QStringLiteral("1"));
        QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
                 zortest::widget<QWidget>(*form, "Verein"));
        QVERIFY(!form->isModified());
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), QString());
        QVERIFY(form->currentFileName().isEmpty());
        QVERIFY(form->helpFile().endsWith(QStringLiteral("/zorhelp.htm")));

        // Exit on an untouched report asks nothing and closes.
        zortest::widget<QAction>(*form, "FileExit1")->trigger();
        QVERIFY(zortest::dialogs().shown().isEmpty());
        QVERIFY(!form->isVisible());
    }

    void textFieldsMarkModifiedButMasterNamesDoNot()
    {
        auto form = zortest::makeForm();
        zortest::typeInto(zortest::widget<QLineEdit>(*form, "NName"), QStringLiteral("Abc"));
        zortest::typeInto(zortest::widget<QLineEdit>(*form, "VName"), QStringLiteral("De"));
        zortest::idle(*form);
        QVERIFY(!form->isModified());
        QCOMPARE(zortest::statusText(*form), QString());

        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i == int(zor::Field::Nummer))
                continue;
            form->setModified(false);
            QLineEdit *edit = zortest::field(*form, zor::Field(i));
            zortest::widget<QTabWidget>(*form, "PgCrtl")->setCurrentWidget(edit->parentWidget());
            zortest::typeInto(edit, QStringLiteral("x"));
            QVERIFY2(form->isModified(), qPrintable(zor::fieldObjectName(i)));
        }
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));

        // Delete is an edit where it takes a character away, and none at the end.
        QLineEdit *ort = zortest::field(*form, zor::Field::Ort);
        zortest::widget<QTabWidget>(*form, "PgCrtl")->setCurrentWidget(ort->parentWidget());
        ort->setText(QStringLiteral("Ulm"));
        form->setModified(false);
        ort->setFocus(Qt::OtherFocusReason);
        ort->end(false);
        QTest::keyClick(ort, Qt::Key_Delete);
        QCOMPARE(ort->text(), QStringLiteral("Ulm"));
        QVERIFY(!form->isModified());
        ort->home(false);
        QTest::keyClick(ort, Qt::Key_Delete);
        QCOMPARE(ort->text(), QStringLiteral("lm"));
        QVERIFY(form->isModified());
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
        form->setModified(true);
        QVERIFY(zortest::statusText(*form).isEmpty());
        spinOnce();
        QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));
        form->setModified(false);
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
        zortest::widget<QTabWidget>(*form, "PgCrtl")
                ->setCurrentWidget(zortest::widget<QWidget>(*form, "Web"));
        zortest::typeInto(zortest::widget<QLineEdit>(*form, "DOrt"), QStringLiteral("Musterstadt"));
        makeChanged(*form);

        zortest::dialogs().primeAnswer(Answer(answer));
        zortest::dialogs().primeFile(QString()); // Yes saves: the Save As dialog is cancelled
        zortest::widget<QAction>(*form, "FileNew1")->trigger();

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
            QVERIFY(zortest::widget<QLineEdit>(*form, "DOrt")->text().isEmpty());
            QVERIFY(zortest::widget<QLineEdit>(*form, "Fax")->text().isEmpty());
            QVERIFY(!form->isModified());
            QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
                     zortest::widget<QWidget>(*form, "Web")); // the page shown does not change
        } else {
            QCOMPARE(zortest::widget<QLineEdit>(*form, "DOrt")->text(),
                     QStringLiteral("Musterstadt"));
            QVERIFY(form->isModified());
        }
    }

    void newOnACleanReportAsksNothing()
    {
        auto form = zortest::makeForm();
        zortest::trigger(*form, "FileNew1");
        QVERIFY(zortest::dialogs().shown().isEmpty());
    }

    void resetNeverFailsOnAHalfTypedClubNumber()
    {
        auto form = zortest::makeForm();
        zortest::widget<NummerEdit>(*form, "Nummer")->setText(QStringLiteral("12"));
        QVERIFY(!zortest::widget<NummerEdit>(*form, "Nummer")->hasAcceptableInput());
        zortest::dialogs().primeAnswer(Answer::No);
        zortest::widget<QAction>(*form, "FileNew1")->trigger();
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0000"));
        QVERIFY(!form->isModified());
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
        zortest::trigger(*form, "FileSave1");
        QCOMPARE(zortest::dialogs().shown().size(), 1);
        const auto &d = zortest::dialogs().shown().first();
        QCOMPARE(d.kind, QStringLiteral("save"));
        QCOMPARE(d.caption, QStringLiteral("Speichern unter"));
        QCOMPARE(d.filter, QStringLiteral("Quorvane(*.zor)"));
        QVERIFY(form->currentFileName().isEmpty());
        QVERIFY(form->isModified());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void saveAsKeepsTheChosenNameEvenWhenTheSaveIsRefused()
    {
        QTemporaryDir dir;
        auto form = zortest::makeForm();
        makeChanged(*form);
        const QString chosen = dir.filePath(QStringLiteral("bericht"));
        zortest::dialogs().primeFile(chosen);
        zortest::trigger(*form, "FileSaveAs1");
        // The default extension is added when none was typed.
        QCOMPARE(form->currentFileName(), chosen + QStringLiteral(".zor"));
        QVERIFY(form->isModified()); // the new report is incomplete: nothing written
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
        const QList<QPair<QWidget *, QWidget *>> places = {
                {zortest::widget<QWidget>(*form, "Verein"),
                 zortest::widget<QLineEdit>(*form, "Tel")},
                {zortest::widget<QWidget>(*form, "Mitglieder"),
                 zortest::widget<ZahlenGrid>(*form, "Zahlen")},
                {zortest::widget<QWidget>(*form, "Meister"),
                 zortest::widget<QLineEdit>(*form, "NName")},
                {zortest::widget<QWidget>(*form, "Web"),
                 zortest::widget<QLineEdit>(*form, "DName")}};
        for (const auto &place : places) {
            zortest::widget<QTabWidget>(*form, "PgCrtl")->setCurrentWidget(place.first);
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
            form->setModified(true);
            zortest::dialogs().primeAnswer(Answer::Cancel);
            QTest::keyClick(place.second, Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(zortest::shownDialogs(),
                     QStringList{QStringLiteral("message|ZOR-Quorvane|") + question});
            form->setModified(false);
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
        zortest::trigger(*form, "FileOpen1");
        QCOMPARE(form->currentFileName(), good);
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Vereinsname")->text(),
                 QStringLiteral("Sportverein Beispielhausen"));
        QVERIFY(!form->isModified());

        // A file that cannot be read does not take the report's file name.
        const QString missing = dir.filePath(QStringLiteral("fehlt.zor"));
        zortest::dialogs().clearShown();
        zortest::dialogs().primeFile(missing);
        zortest::trigger(*form, "FileOpen1");
        QCOMPARE(form->currentFileName(), good);
        bool warned = false;
        for (const auto &d : zortest::dialogs().shown())
            warned = warned
                     || (d.kind == QLatin1String("warning")
                         && d.text.startsWith(
                                 QStringLiteral("Datei kann nicht ge\u00f6ffnet werden")));
        QVERIFY(warned);

        // Cancelling the open dialog changes nothing.
        zortest::widget<QLineEdit>(*form, "Code")->setText(QStringLiteral("Xy"));
        zortest::dialogs().primeAnswer(Answer::No);
        zortest::dialogs().primeFile(QString());
        zortest::trigger(*form, "FileOpen1");
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Code")->text(), QStringLiteral("Xy"));
    }

    void clubNumberRefusesToBeLeftHalfFilled()
    {
        auto form = zortest::makeForm();
        zortest::widget<NummerEdit>(*form, "Nummer")->setFocus();
        QVERIFY(QTest::qWaitFor(
                [&] { return zortest::widget<NummerEdit>(*form, "Nummer")->hasFocus(); }));
        zortest::widget<NummerEdit>(*form, "Nummer")->selectAll();
        QTest::keyClicks(zortest::widget<NummerEdit>(*form, "Nummer"), QStringLiteral("12"));
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->displayText(),
                 QStringLiteral("12__"));
        QVERIFY(form->isModified());

        zortest::widget<QLineEdit>(*form, "Code")->setFocus();
        QTRY_VERIFY(zortest::widget<NummerEdit>(*form, "Nummer")->hasFocus());
        QCOMPARE(zortest::dialogs().shown().size(), 1);
        QCOMPARE(
                zortest::dialogs().shown().first().text,
                QString::fromUtf8(
                        "Ung\u00fcltiger Eingabewert. Benutzen Sie die ESC-Taste, um die \u00c4nderungen "
                        "r\u00fcckg\u00e4ngig zu machen."));

        // Escape brings back the value from before the editing.
        QTest::keyClick(zortest::widget<NummerEdit>(*form, "Nummer"), Qt::Key_Escape);
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("0000"));
        zortest::dialogs().clearShown();
        zortest::widget<QLineEdit>(*form, "Code")->setFocus();
        QTRY_VERIFY(zortest::widget<QLineEdit>(*form, "Code")->hasFocus());
        for (const auto &d : zortest::dialogs().shown())
            QVERIFY(d.kind != QLatin1String("error"));

        // Only digits go in.
        zortest::widget<NummerEdit>(*form, "Nummer")->setFocus();
        QTRY_VERIFY(zortest::widget<NummerEdit>(*form, "Nummer")->hasFocus());
        zortest::widget<NummerEdit>(*form, "Nummer")->home(false);
        QTest::keyClicks(zortest::widget<NummerEdit>(*form, "Nummer"), QStringLiteral("a1b2c3d4"));
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->text(), QStringLiteral("1234"));
    }

    // What the report file cannot hold is left out of what is typed or
    // pasted, and named at the field at once; the rest goes in.
    void fieldsHoldOnlyWhatTheFileCanHold_data()
    {
        QTest::addColumn<QString>("how"); // "typed" or "pasted", after "München €"
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("told");
        const QString one = QStringLiteral(
                "Das Zeichen %1 kann im Bericht nicht gespeichert werden.");
        const auto q = [](const char16_t *c) {
            return QStringLiteral("\u201e%1\u201c").arg(QString::fromUtf16(c));
        };
        QTest::newRow("typed, all stored") << "typed" << QStringLiteral("-S\u00fcd \u20ac")
                                           << QStringLiteral("-S\u00fcd \u20ac") << QString();
        // Each key on its own: the one refused is named, the keys after it go in.
        QTest::newRow("typed Dvo\u0159\u00e1k")
                << "typed" << QStringLiteral("Dvo\u0159\u00e1k") << QStringLiteral("Dvo\u00e1k")
                << one.arg(q(u"\u0159"));
        QTest::newRow("pasted \u0141\u00f3d\u017a Sportverein")
                << "pasted" << QStringLiteral(" \u0141\u00f3d\u017a Sportverein")
                << QStringLiteral(" \u00f3d Sportverein")
                << QStringLiteral("Die Zeichen %1 und %2 k\u00f6nnen im Bericht nicht gespeichert "
                                  "werden.")
                           .arg(q(u"\u0141"), q(u"\u017a"));
        // An accent sent apart from its letter is put together with it.
        QTest::newRow("pasted, accent apart") << "pasted" << QStringLiteral("Jose\u0301")
                                              << QStringLiteral("Jos\u00e9") << QString();
        QTest::newRow("pasted, beyond 16 bits")
                << "pasted" << QStringLiteral("Fan \U0001F600") << QStringLiteral("Fan ")
                << one.arg(q(u"\U0001F600"));
        QTest::newRow("pasted, invisible")
                << "pasted" << QStringLiteral("a\u200bb") << QStringLiteral("ab")
                << one.arg(QStringLiteral("U+200B"));
        QTest::newRow("pasted, another alphabet")
                << "pasted"
                << QStringLiteral("\u0410\u0431\u0432\u0433\u0434\u0435\u0436"
                                  "\u0437\u0438\u0439 1")
                << QStringLiteral(" 1")
                << QStringLiteral("Die Zeichen %1 und weitere k\u00f6nnen im Bericht nicht "
                                  "gespeichert werden.")
                           .arg(QStringList{q(u"\u0410"), q(u"\u0431"), q(u"\u0432"), q(u"\u0433"),
                                            q(u"\u0434"), q(u"\u0435"), q(u"\u0436"), q(u"\u0437")}
                                        .join(QStringLiteral(", ")));
    }

    void fieldsHoldOnlyWhatTheFileCanHold()
    {
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, added);
        QFETCH(QString, told);
        auto form = zortest::makeForm();
        // The report's fields and the masters' name fields alike.
        for (const char *name : {"Ort", "NName"}) {
            auto *edit = zortest::widget<QLineEdit>(*form, name);
            const QString before = QStringLiteral("M\u00fcnchen \u20ac");
            edit->setText(before);
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
            edit->setFocus();
            edit->end(false);
            if (how == QLatin1String("typed")) {
                zortest::typeInto(edit, input);
            } else {
                QGuiApplication::clipboard()->setText(input);
                edit->paste();
            }
            QCOMPARE(edit->text(), before + added);
            if (told.isEmpty()) {
                QTest::qWait(50);
                QVERIFY2(!QToolTip::isVisible(), qPrintable(QToolTip::text()));
            } else {
                QTRY_VERIFY(QToolTip::isVisible());
                QCOMPARE(QToolTip::text(), told);
            }
        }
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
