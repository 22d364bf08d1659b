// The window used from the keyboard in a real X server with a window
// manager: where the focus is at start, after New and after Open; the page
// keys; the labels' shortcuts; the window at its smallest size; and the
// recovery question at start, answered in the real box.

#include "reportfile/recoverycopy.h"
#include "tests/support/realx.h"
#include "tests/support/testfiles.h"
#include "ui/zahlengrid.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

using zortest::focused;
using zortest::press;
using zortest::typeKeys;

class TstKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { zortest::dialogs().reset(); }

    void focusStartsInTheClubNameAtStartNewAndOpen();
    void pageKeysWorkFromAnywhere();
    void everyLabelLeadsToItsField();
    void smallestWindowShowsEverythingAndPagesGrow();
    void recoveryQuestion_onlyVerwerfenThrowsTheCopyAway_data();
    void recoveryQuestion_onlyVerwerfenThrowsTheCopyAway();
};

void TstKeyboard::focusStartsInTheClubNameAtStartNewAndOpen()
{
    auto form = zortest::makeActiveForm(true);
    QTRY_COMPARE(focused(),
                 static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Vereinsname")));
    typeKeys(QStringLiteral("TV"));
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Vereinsname")->text(), QStringLiteral("TV"));

    zortest::widget<QLineEdit>(*form, "Code")->setFocus(Qt::TabFocusReason);
    typeKeys(QStringLiteral("x"));
    zortest::dialogs().primeAnswer(zor::Answer::No);
    press(Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Code")->text(), QString());
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Vereinsname")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.zor"));
    QVERIFY(zortest::writeAll(path, "Judoclub\r\n0135\r\n"));
    zortest::widget<QLineEdit>(*form, "Tel")->setFocus(Qt::TabFocusReason);
    zortest::dialogs().primeFile(path);
    press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QLineEdit>(*form, "Vereinsname")->text(), QStringLiteral("Judoclub"));
    QCOMPARE(focused(), static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Vereinsname")));
    // No advice about the club number came up on the way.
    for (const auto &d : zortest::dialogs().shown())
        QVERIFY2(d.kind != QLatin1String("message")
                         || !d.text.contains(QLatin1String("Vereinsnummer")),
                 qPrintable(d.text));
}

void TstKeyboard::pageKeysWorkFromAnywhere()
{
    auto form = zortest::makeActiveForm(true);
    QTRY_COMPARE(focused(),
                 static_cast<QWidget *>(zortest::widget<QLineEdit>(*form, "Vereinsname")));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
             zortest::widget<QWidget>(*form, "Mitglieder"));

    // From the cell editor, the typed count taken in on the way.
    zortest::widget<ZahlenGrid>(*form, "Zahlen")->setCurrentCell(2, 1);
    zortest::widget<ZahlenGrid>(*form, "Zahlen")->setFocus(Qt::OtherFocusReason);
    typeKeys(QStringLiteral("6"));
    QVERIFY(qobject_cast<QLineEdit *>(focused()));
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
             zortest::widget<QWidget>(*form, "Meister"));
    QCOMPARE(zortest::widget<ZahlenGrid>(*form, "Zahlen")->cellText(2, 1), QStringLiteral("6"));
    QCOMPARE(zortest::sumLabel(*form, "Sum2")->text(), QStringLiteral("6"));

    zortest::setMasters(*form, {"a;b;1"});
    zortest::widget<QListWidget>(*form, "Liste")->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
             zortest::widget<QWidget>(*form, "Mitglieder"));
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
             zortest::widget<QWidget>(*form, "Verein"));
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(zortest::widget<QTabWidget>(*form, "PgCrtl")->currentWidget(),
             zortest::widget<QWidget>(*form, "Web")); // round from the first to the last
}

void TstKeyboard::everyLabelLeadsToItsField()
{
    auto form = zortest::makeActiveForm(true);
    zortest::widget<NummerEdit>(*form, "Nummer")
            ->setText(QStringLiteral("0135")); // so that leaving it gives no advice
    // Each field of the report and of the masters' input is named by a label.
    QList<QWidget *> fields;
    for (int i = 0; i < zor::FieldCount; ++i)
        fields << zortest::field(*form, zor::Field(i));
    fields << zortest::widget<QLineEdit>(*form, "VName")
           << zortest::widget<QLineEdit>(*form, "NName")
           << zortest::widget<QLineEdit>(*form, "Grad");
    QHash<QWidget *, QLabel *> labelOf;
    for (QLabel *l : form->findChildren<QLabel *>()) {
        if (l->buddy() && QKeySequence::mnemonic(l->text()) != QKeySequence())
            labelOf.insert(l->buddy(), l);
    }
    for (QWidget *f : fields)
        QVERIFY2(labelOf.contains(f),
                 qPrintable(f->objectName() + QStringLiteral(" has no label with a shortcut")));

    for (QWidget *page :
         {zortest::widget<QWidget>(*form, "Verein"), zortest::widget<QWidget>(*form, "Meister"),
          zortest::widget<QWidget>(*form, "Web")}) {
        zortest::widget<QTabWidget>(*form, "PgCrtl")->setCurrentWidget(page);
        // The menus' letters and each page's own are all different.
        QSet<QString> taken{QStringLiteral("D"), QStringLiteral("H")};
        for (QWidget *f : fields) {
            if (!page->isAncestorOf(f))
                continue;
            QLabel *l = labelOf.value(f);
            const QString key = QKeySequence::mnemonic(l->text())
                                        .toString()
                                        .section(QLatin1Char('+'), -1)
                                        .toUpper();
            QVERIFY2(!taken.contains(key),
                     qPrintable(key + QStringLiteral(" twice on ") + page->objectName()));
            taken.insert(key);
            // Start somewhere else on the page, then jump with Alt+letter.
            QWidget *start = f == fields.first() || !page->isAncestorOf(fields.first())
                                     ? nullptr
                                     : fields.first();
            if (!start)
                start = zortest::widget<QTabWidget>(*form, "PgCrtl")->tabBar();
            start->setFocus(Qt::TabFocusReason);
            press(Qt::Key(QKeySequence(key)[0].key()), Qt::AltModifier);
            QVERIFY2(focused() == f,
                     qPrintable(
                             QStringLiteral("Alt+") + key + QStringLiteral(" went to ")
                             + (focused() ? focused()->objectName() : QStringLiteral("nothing"))));
        }
    }
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstKeyboard::smallestWindowShowsEverythingAndPagesGrow()
{
    auto form = zortest::makeActiveForm(true);
    const QSize smallest = form->minimumSize();
    QVERIFY2(smallest.width() >= 400 && smallest.height() >= 300,
             "no sensible smallest size is set");
    qInfo() << "smallest window" << smallest << "window now" << form->size();
    form->resize(smallest);
    QTRY_COMPARE(form->size(), smallest);

    zortest::widget<QTabWidget>(*form, "PgCrtl")
            ->setCurrentWidget(zortest::widget<QWidget>(*form, "Mitglieder"));
    QVERIFY(QTest::qWaitFor(
            [&] { return zortest::widget<QWidget>(*form, "Mitglieder")->isVisible(); }));
    QList<QWidget *> parts{zortest::widget<ZahlenGrid>(*form, "Zahlen")};
    for (const char *n :
         {"Sum1", "Sum2", "Sum3", "Sum4", "Sum5", "Sum6", "Sum7", "MSum", "WSum", "AllSum"})
        parts << zortest::sumLabel(*form, n);
    for (QWidget *w : parts) {
        QCOMPARE(w->visibleRegion().boundingRect(), w->rect());
        const QRect inPage(w->mapTo(zortest::widget<QWidget>(*form, "Mitglieder"), QPoint(0, 0)),
                           w->size());
        QVERIFY2(zortest::widget<QWidget>(*form, "Mitglieder")->rect().contains(inPage),
                 qPrintable(w->objectName() + " is cut off"));
    }

    zortest::widget<QTabWidget>(*form, "PgCrtl")
            ->setCurrentWidget(zortest::widget<QWidget>(*form, "Verein"));
    QTRY_VERIFY(zortest::widget<QWidget>(*form, "Verein")->isVisible());
    for (int i = 0; i < zor::FieldCount; ++i) {
        QLineEdit *e = zortest::field(*form, zor::Field(i));
        if (!zortest::widget<QWidget>(*form, "Verein")->isAncestorOf(e))
            continue;
        const int wanted = e == zortest::widget<NummerEdit>(*form, "Nummer")
                                   ? e->fontMetrics().horizontalAdvance(QStringLiteral("0000"))
                                   : 100;
        QVERIFY2(e->width() >= wanted, qPrintable(QStringLiteral("%1 is %2 pixels wide")
                                                          .arg(e->objectName())
                                                          .arg(e->width())));
        QCOMPARE(e->visibleRegion().boundingRect(), e->rect());
    }
    const int nameWidth = zortest::widget<QLineEdit>(*form, "Vereinsname")->width();
    zortest::widget<QTabWidget>(*form, "PgCrtl")
            ->setCurrentWidget(zortest::widget<QWidget>(*form, "Meister"));
    QTRY_VERIFY(zortest::widget<QListWidget>(*form, "Liste")->isVisible());
    const int listHeight = zortest::widget<QListWidget>(*form, "Liste")->height();

    form->resize(smallest + QSize(300, 200));
    QTRY_COMPARE(form->size(), smallest + QSize(300, 200));
    QTRY_VERIFY(zortest::widget<QListWidget>(*form, "Liste")->height() > listHeight + 100);
    zortest::widget<QTabWidget>(*form, "PgCrtl")
            ->setCurrentWidget(zortest::widget<QWidget>(*form, "Verein"));
    QTRY_VERIFY(zortest::widget<QLineEdit>(*form, "Vereinsname")->width() > nameWidth + 100);
}

void TstKeyboard::recoveryQuestion_onlyVerwerfenThrowsTheCopyAway_data()
{
    QTest::addColumn<QString>("how"); // what the user does in the real box
    QTest::addColumn<bool>("restored");
    QTest::addColumn<bool>("kept"); // the copy of the earlier run is still there
    QTest::newRow("Escape") << QStringLiteral("escape") << false << true;
    QTest::newRow("close button") << QStringLiteral("close") << false << true;
    QTest::newRow("Return, the default") << QStringLiteral("return") << true << false;
    QTest::newRow("Verwerfen") << QStringLiteral("verwerfen") << false << false;
}

void TstKeyboard::recoveryQuestion_onlyVerwerfenThrowsTheCopyAway()
{
    QFETCH(QString, how);
    QFETCH(bool, restored);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(folder));
    const QString left = QDir(folder).filePath(QStringLiteral("999999-abc.zorrec"));
    zor::RecoveryCopy copy;
    copy.report = zor::Report::fresh();
    copy.report.text(zor::Field::Vereinsname) = QStringLiteral("Judoclub Nachtschicht");
    copy.made = QDateTime::currentDateTime();
    QVERIFY(zortest::writeAll(left, zor::encodeRecovery(copy)));

    auto form = zortest::makeActiveForm(false); // the real message box
    form->startRecovery(folder);
    QStringList buttons;
    QString defaultButton;
    bool stayedOpen = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || QApplication::activeWindow() != box)
            return;
        poll.stop();
        QAbstractButton *verwerfen = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            if (!b->isVisible())
                continue;
            buttons << b->text();
            if (b->text() == QLatin1String("Verwerfen"))
                verwerfen = b;
        }
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (how == QLatin1String("escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            box->close(); // what the window manager's close button asks for
        else if (how == QLatin1String("return"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (verwerfen)
            QTest::mouseClick(verwerfen, Qt::LeftButton);
        // A box that does not go away is a fault of its own; it is closed so the test goes on.
        QTimer::singleShot(3000, box, [box, &stayedOpen] {
            stayedOpen = true;
            box->done(0);
        });
    });
    poll.start();
    QCOMPARE(form->offerRecovery(), restored);
    QVERIFY2(!stayedOpen, "the box stayed open");
    QCOMPARE(buttons,
             (QStringList{QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")}));
    QCOMPARE(defaultButton, QStringLiteral("Wiederherstellen"));
    QCOMPARE(QFileInfo::exists(left), kept);
    QCOMPARE(zortest::field(*form, zor::Field::Vereinsname)->text(),
             restored ? QStringLiteral("Judoclub Nachtschicht") : QString());
    QCOMPARE(form->isModified(), restored);
    form->setModified(false);
}

QTEST_MAIN(TstKeyboard)
#include "tst_keyboard.moc"
