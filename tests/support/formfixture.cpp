#include "tests/support/formfixture.h"

#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui/zahlengrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace zortest {

std::unique_ptr<TSDIAppForm> makeForm()
{
    zortest::dialogs().setScripted(true);
    zortest::dialogs().reset();
    auto form = std::make_unique<TSDIAppForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("the window was never shown");
    return form;
}

void idle(TSDIAppForm &)
{
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace {

template<typename T>
T *named(const QWidget &form, const QString &name)
{
    T *found = form.findChild<T *>(name);
    if (!found)
        qFatal("the window has no %s named \"%s\"", T::staticMetaObject.className(),
               qPrintable(name));
    return found;
}

} // namespace

QWidget *child(const QWidget &form, const QString &name)
{
    return named<QWidget>(form, name);
}

QLineEdit *field(const TSDIAppForm &form, zor::Field f)
{
    return named<QLineEdit>(form, zor::fieldObjectName(static_cast<int>(f)));
}

NummerEdit *nummer(const TSDIAppForm &form)
{
    return named<NummerEdit>(form, QStringLiteral("Nummer"));
}

ZahlenGrid *zahlen(const TSDIAppForm &form)
{
    return named<ZahlenGrid>(form, QStringLiteral("Zahlen"));
}

QListWidget *liste(const TSDIAppForm &form)
{
    return named<QListWidget>(form, QStringLiteral("Liste"));
}

QTabWidget *pages(const TSDIAppForm &form)
{
    return named<QTabWidget>(form, QStringLiteral("PgCrtl"));
}

QLabel *sumLabel(const TSDIAppForm &form, const char *name)
{
    return named<QLabel>(form, QString::fromLatin1(name));
}

TAboutBox *aboutBox(const TSDIAppForm &form)
{
    TAboutBox *box = form.findChild<TAboutBox *>();
    if (!box)
        qFatal("the window has no about box");
    return box;
}

QAction *action(const TSDIAppForm &form, const char *name)
{
    return named<QAction>(form, QString::fromLatin1(name));
}

void trigger(const TSDIAppForm &form, const char *actionName)
{
    action(form, actionName)->trigger();
}

void click(const TSDIAppForm &form, const char *buttonName)
{
    named<QAbstractButton>(form, QString::fromLatin1(buttonName))->click();
}

void setMasters(TSDIAppForm &form, const QStringList &entries)
{
    zor::Report r = form.currentReport();
    r.masters = entries;
    form.showReport(r);
}

bool openReport(TSDIAppForm &form, const QString &path)
{
    if (form.isModified())
        dialogs().primeAnswer(zor::Answer::No);
    dialogs().primeFile(path);
    trigger(form, "FileOpen1");
    return form.currentFileName() == path && !form.isModified();
}

void fillComplete(TSDIAppForm &form)
{
    const QList<QPair<zor::Field, QString>> values = {
            {zor::Field::Vereinsname, QStringLiteral("Sportverein Beispielhausen")},
            {zor::Field::Code, QStringLiteral("xK7q")},
            {zor::Field::AVName, QStringLiteral("Hanna")},
            {zor::Field::ANName, QStringLiteral("M\u00fcller")},
            {zor::Field::Strasse, QStringLiteral("Hauptstr. 1")},
            {zor::Field::Plz, QStringLiteral("12345")},
            {zor::Field::Ort, QStringLiteral("Beispielhausen")},
            {zor::Field::Tel, QStringLiteral("0123 45678")},
            {zor::Field::DPlz, QStringLiteral("12346")}};
    for (const auto &v : values)
        field(form, v.first)->setText(v.second);
    nummer(form)->setText(QStringLiteral("0042"));
    zahlen(form)->setCellText(4, 1, QStringLiteral("3"));
    zahlen(form)->setCellText(4, 2, QStringLiteral("2"));
    zahlen(form)->setCellText(7, 1, QStringLiteral("5"));
    setMasters(form, {QStringLiteral("Abc;De;3")}); // and with them the sums
    form.setModified(true);
}

bool saveAs(TSDIAppForm &form, const QString &path)
{
    dialogs().primeFile(path);
    trigger(form, "FileSaveAs1");
    return !form.isModified() && form.currentFileName() == path && QFile::exists(path);
}

void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::OtherFocusReason);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            // QTest knows only ASCII keys; an umlaut arrives as text of an unknown key.
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

ZahlenGrid *focusGrid(TSDIAppForm &form)
{
    pages(form)->setCurrentWidget(child(form, QStringLiteral("Mitglieder")));
    ZahlenGrid *grid = zahlen(form);
    grid->setCurrentCell(1, 1);
    grid->setFocus(Qt::OtherFocusReason);
    const bool focusIn = QTest::qWaitFor([grid] { return focused() == grid; });
    form.setModified(false);
    return focusIn ? grid : nullptr;
}

QLineEdit *editCell(ZahlenGrid *grid, int row, int col)
{
    grid->setCurrentCell(row, col);
    grid->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(focused());
    if (editor)
        editor->selectAll();
    return editor;
}

QString statusText(const TSDIAppForm &form)
{
    return named<QStatusBar>(form, QStringLiteral("StatusBar"))->currentMessage();
}

QStringList shownDialogs()
{
    QStringList out;
    for (const auto &d : zortest::dialogs().shown())
        out << d.kind + QLatin1Char('|') + d.caption + QLatin1Char('|') + d.text;
    return out;
}

} // namespace zortest
