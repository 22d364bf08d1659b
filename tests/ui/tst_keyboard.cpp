// The window used from the keyboard in a real X server, with a window
// manager and (as tst_keyboard_nowm) without one: where the focus is at
// start, after New and after Open; the page keys; the labels' shortcuts; the
// window at its smallest size; the keys of the grid and the fields around
// the real message boxes; the file dialogs; and the recovery question at
// start, answered in the real box.

#include "reportfile/recoverycopy.h"
#include "tests/support/realx.h"
#include "tests/support/testfiles.h"
#include "ui/zahlengrid.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTreeView>

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
    void keysDoWhatTheUserSees_data();
    void keysDoWhatTheUserSees();
    void fileDialogsShowEveryColumnInGerman();
    void recoveryQuestion_onlyVerwerfenThrowsTheCopyAway_data();
    void recoveryQuestion_onlyVerwerfenThrowsTheCopyAway();
};

namespace {

QPair<int, int> cellAt(const QString &rowCol)
{
    return {rowCol.section(QLatin1Char(','), 0, 0).toInt(),
            rowCol.section(QLatin1Char(','), 1, 1).toInt()};
}

// What the user sees in a cell or field: the open cell editor's text where it is open.
QString shownText(const TSDIAppForm &form, const QString &where)
{
    ZahlenGrid *grid = zortest::zahlen(form);
    if (!where.contains(QLatin1Char(',')))
        return zortest::widget<QLineEdit>(form, qPrintable(where))->text();
    const auto [row, col] = cellAt(where);
    auto *editor = qobject_cast<QLineEdit *>(focused());
    if (editor && grid->isAncestorOf(editor) && grid->currentRow() == row
        && grid->currentColumn() == col)
        return editor->text();
    return grid->cellText(row, col);
}

} // namespace

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
    // The widest figures the sums can show: every count at the negative limit.
    zor::Report big = form->currentReport();
    for (auto &group : big.counts) {
        group[zor::Men] = QStringLiteral("-2147483648");
        group[zor::Women] = QStringLiteral("-2147483648");
    }
    form->showReport(big);
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("-30064771072"));
    QList<QWidget *> parts{zortest::widget<ZahlenGrid>(*form, "Zahlen")};
    for (const char *n :
         {"Sum1", "Sum2", "Sum3", "Sum4", "Sum5", "Sum6", "Sum7", "MSum", "WSum", "AllSum"})
        parts << zortest::sumLabel(*form, n);
    for (QWidget *w : parts) {
        QCOMPARE(w->visibleRegion().boundingRect(), w->rect());
        if (auto *sum = qobject_cast<QLabel *>(w))
            QVERIFY2(sum->sizeHint().width() <= sum->width(),
                     qPrintable(sum->objectName() + QStringLiteral(" cuts off ") + sum->text()));
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

void TstKeyboard::keysDoWhatTheUserSees_data()
{
    // start: "edit R,C" opens the cell editor with F2, "cell R,C" makes the
    // cell current, else the control of that name gets the focus. keys:
    // "=text" types, anything else is a key. shows: what cells ("R,C"), sums
    // and fields show then. current: the current cell, the only one
    // highlighted. boxes: real message boxes answered on the way. focus: where
    // the keyboard types afterwards ("editor": the cell editor).
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QString>("focus");
    const struct
    {
        const char *name, *start, *keys, *shows, *current;
        int boxes;
        const char *focus;
    } rows[] = {
            {"Ctrl+End: highlight and typing go to the last cell", "cell 2,1", "Ctrl+End =4",
             "7,2=4 2,1=0", "7,2", 0, "editor"},
            {"Ctrl+Home from the cell editor takes the count in", "edit 5,2", "=8 Ctrl+Home",
             "5,2=8 Sum5=8 1,1=0", "1,1", 0, "Zahlen"},
            {"Up in the top row keeps the editing, Escape undoes it", "edit 1,2", "=5 Up Escape",
             "1,2=0 Sum1=0", "1,2", 0, "Zahlen"},
            {"Down in the bottom row keeps the editing, Escape undoes it", "edit 7,1",
             "=3 Down Escape", "7,1=0 AllSum=0", "7,1", 0, "Zahlen"},
            {"Down in the bottom row, then Up moves with the count", "edit 7,2", "=2 Down Up",
             "7,2=2 Sum7=2 WSum=2", "6,2", 0, "Zahlen"},
            {"Ctrl+S with an emptied cell tells once and stays", "edit 3,1", "Backspace Ctrl+S",
             "3,1= Sum3=0", "3,1", 1, "Zahlen"},
            {"after an emptied cell's box the next digit goes into it", "edit 4,2",
             "Backspace Down =7 Down", "4,2=7 Sum4=7", "5,2", 1, "Zahlen"},
            {"the grade's up-down steps, typed digits do not set it", "UpDown2", "=7 Up =9",
             "Grad=2", "", 0, "UpDown2"},
            {"a half-typed club number: after its box the typing goes on there", "Nummer",
             "Ctrl+A Backspace =01 Tab =23 Tab", "Nummer=0123", "", 1, "Code"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString(r.start) << QString(r.keys) << QString(r.shows)
                              << QString(r.current) << r.boxes << QString(r.focus);
}

void TstKeyboard::keysDoWhatTheUserSees()
{
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, shows);
    QFETCH(QString, current);
    QFETCH(int, boxes);
    QFETCH(QString, focus);

    auto form = zortest::makeActiveForm(); // the real message boxes
    QTemporaryDir dir;
    form->setCurrentFileName(dir.filePath(QStringLiteral("verein.zor")));
    zortest::BoxAnswerer answerer;
    ZahlenGrid *grid = zortest::focusGrid(*form);
    QVERIFY(grid);
    const auto [row, col] = cellAt(start.section(QLatin1Char(' '), 1));
    if (start.startsWith(QLatin1String("edit "))) {
        QVERIFY(zortest::editCell(grid, row, col));
    } else if (start.startsWith(QLatin1String("cell "))) {
        grid->setCurrentCell(row, col);
    } else {
        QWidget *w = zortest::child(*form, start);
        zortest::pages(*form)->setCurrentWidget(w->parentWidget());
        w->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focused(), w);
    }

    for (const QString &k : keys.split(QLatin1Char(' '))) {
        const qsizetype before = answerer.texts.size();
        if (k.startsWith(QLatin1Char('='))) {
            typeKeys(k.mid(1));
        } else {
            const QKeyCombination c = QKeySequence(k)[0];
            press(c.key(), c.keyboardModifiers());
        }
        if (answerer.texts.size() > before) {
            // The box has gone; the keyboard must reach the window again by
            // itself, with no window manager and no click to help.
            QTRY_VERIFY2(QApplication::activeWindow() == form.get()
                                 && !QApplication::activeModalWidget() && focused(),
                         qPrintable(QStringLiteral("after the box of ") + k
                                    + QStringLiteral(" nothing has the focus")));
        }
    }
    QCOMPARE(answerer.texts.size(), boxes);

    for (const QString &expected : shows.split(QLatin1Char(' '))) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        const QString text = expected.section(QLatin1Char('='), 1);
        const QString seen = name.contains(QLatin1String("Sum"))
                                     ? zortest::sumLabel(*form, qPrintable(name))->text()
                                     : shownText(*form, name);
        QVERIFY2(seen == text,
                 qPrintable(name + QStringLiteral(" shows \"") + seen + QStringLiteral("\", not \"")
                            + text + QStringLiteral("\"")));
    }
    if (!current.isEmpty()) {
        QCOMPARE(qMakePair(grid->currentRow(), grid->currentColumn()), cellAt(current));
        // The highlight is on the cell that typing goes into, and on no other.
        const QModelIndexList lit = grid->selectionModel()->selectedIndexes();
        QVERIFY2(lit == QModelIndexList{grid->currentIndex()},
                 qPrintable(QStringLiteral("%1 cells highlighted, the first at %2,%3")
                                    .arg(lit.size())
                                    .arg(lit.value(0).row())
                                    .arg(lit.value(0).column())));
    }
    QWidget *now = focused();
    QVERIFY2(now, "nothing has the focus");
    if (focus == QLatin1String("editor"))
        QVERIFY2(qobject_cast<QLineEdit *>(now) && grid->isAncestorOf(now),
                 qPrintable(QStringLiteral("the focus is in ") + now->objectName()));
    else
        QCOMPARE(now->objectName(), focus);
}

void TstKeyboard::fileDialogsShowEveryColumnInGerman()
{
    // The program's own locale, whatever the system's is (the tests run in C).
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mitgliederliste-2024-vorstand.zor"));
    QVERIFY(zortest::writeAll(path, QByteArray(1300, 'x')));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7)),
                             QFileDevice::FileModificationTime));
    file.close();

    auto form = zortest::makeActiveForm(); // the real file dialog
    QString size, date;
    QStringList cutOff;
    QTimer::singleShot(0, form.get(), [&] {
        QPointer<QFileDialog> dialog;
        const auto close = qScopeGuard([&] {
            if (dialog)
                dialog->reject();
        });
        QVERIFY(QTest::qWaitFor([&] {
            dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            return dialog && dialog->isVisible();
        }));
        dialog->setDirectory(dir.path());
        auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        QVERIFY(view);
        QModelIndex name;
        QVERIFY(QTest::qWaitFor([&] {
            const QModelIndexList hits = view->model()->match(
                    view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                    QFileInfo(path).fileName(), 1, Qt::MatchExactly);
            name = hits.value(0);
            return name.isValid();
        }));
        QTest::qWait(100); // the columns settle once the folder is read
        size = name.siblingAtColumn(1).data().toString();
        date = name.siblingAtColumn(3).data().toString();
        // Every column shows whole: name, size, type and date.
        QHeaderView *header = view->header();
        for (int c = 0; c < 4; ++c) {
            const int width = header->sectionSize(c);
            // What the file's entry and the column's heading need, as the
            // view's own delegate and header measure them.
            QStyleOptionViewItem option;
            option.initFrom(view);
            const int icon = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view);
            option.decorationSize = QSize(icon, icon);
            const int needed = std::max(
                    view->itemDelegate()->sizeHint(option, name.siblingAtColumn(c)).width(),
                    header->sectionSizeHint(c));
            if (header->isSectionHidden(c) || width < needed
                || header->sectionViewportPosition(c) + width > view->viewport()->width())
                cutOff << QStringLiteral("column %1: %2 of %3 pixels")
                                  .arg(c)
                                  .arg(width)
                                  .arg(needed);
        }
    });
    press(Qt::Key_O, Qt::ControlModifier);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QStringLiteral("; "))));
    QCOMPARE(size, QStringLiteral("1,27 KiB"));
    QCOMPARE(date, QStringLiteral("05.03.24 14:07"));
}

void TstKeyboard::recoveryQuestion_onlyVerwerfenThrowsTheCopyAway_data()
{
    QTest::addColumn<QString>("how"); // what the user does in the real box
    QTest::addColumn<bool>("restored");
    QTest::addColumn<bool>("kept"); // the copy of the earlier run is still there
    QTest::newRow("Escape") << QStringLiteral("escape") << false << true;
    QTest::newRow("close button") << QStringLiteral("close") << false << true;
    QTest::newRow("Return, the default") << QStringLiteral("return") << true << false;
    QTest::newRow("Verwerfen") << QStringLiteral("Verwerfen") << false << false;
}

void TstKeyboard::recoveryQuestion_onlyVerwerfenThrowsTheCopyAway()
{
    QFETCH(QString, how);
    QFETCH(bool, restored);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    const QString left = QDir(folder).filePath(QStringLiteral("999999-abc.zorrec"));
    zor::RecoveryCopy copy;
    copy.report = zor::Report::fresh();
    copy.report.text(zor::Field::Vereinsname) = QStringLiteral("Judoclub Nachtschicht");
    copy.made = QDateTime::currentDateTime();
    QVERIFY(QDir().mkpath(folder) && zortest::writeAll(left, zor::encodeRecovery(copy)));

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
        QAbstractButton *clicked = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            if (b->isVisible())
                buttons << b->text();
            if (b->isVisible() && b->text() == how)
                clicked = b;
        }
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (clicked)
            QTest::mouseClick(clicked, Qt::LeftButton);
        else if (how == QLatin1String("close"))
            box->close(); // what the window manager's close button asks for
        else
            QTest::keyClick(box, how == QLatin1String("escape") ? Qt::Key_Escape : Qt::Key_Return);
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
    if (!kept)
        return;

    // The copy kept is let go: the next start asks again and brings it back.
    zortest::BoxAnswerer answerer; // Return: "Wiederherstellen"
    auto next = zortest::makeActiveForm(false);
    next->startRecovery(folder);
    QVERIFY(next->offerRecovery());
    QCOMPARE(zortest::field(*next, zor::Field::Vereinsname)->text(),
             QStringLiteral("Judoclub Nachtschicht"));
    QVERIFY(!QFileInfo::exists(left));
    next->setModified(false);
}

QTEST_MAIN(TstKeyboard)
#include "tst_keyboard.moc"
