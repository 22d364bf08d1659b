#pragma once

#include "tests/support/scripteddialogs.h"
#include "ui/tsdiappform.h"

#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui/zahlengrid.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QWidget;
class NummerEdit;
class TAboutBox;
class ZahlenGrid;

namespace zortest {

// A real main window with the scripted dialogs switched on and nothing primed.
std::unique_ptr<TSDIAppForm> makeForm();

// Lets the event loop run until its queue is empty and it waits, which is
// when the window refreshes its status bar and buttons.
void idle(TSDIAppForm &form);

// The window's controls, found by object name as a user's tools find them.
// A control that is missing ends the test program with its name.
QWidget *child(const QWidget &form, const QString &name);
template<typename T>
T *widget(const QWidget &form, const char *name)
{
    T *found = form.template findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no %s named \"%s\"", T::staticMetaObject.className(), name);
    return found;
}
QLineEdit *field(const TSDIAppForm &form, zor::Field f);
NummerEdit *nummer(const TSDIAppForm &form); // "Nummer"
ZahlenGrid *zahlen(const TSDIAppForm &form); // "Zahlen"
QListWidget *liste(const TSDIAppForm &form); // "Liste"
QTabWidget *pages(const TSDIAppForm &form);  // "PgCrtl"
QLabel *sumLabel(const TSDIAppForm &form,
                 const char *name);           // "Sum1".."Sum7", "MSum", "WSum", "AllSum"
TAboutBox *aboutBox(const TSDIAppForm &form); // once it has been shown
QAction *action(const TSDIAppForm &form, const char *name); // "FileSave1", ...
// Runs the menu entry or toolbar action, or clicks the button, of that name.
void trigger(const TSDIAppForm &form, const char *actionName);
void click(const TSDIAppForm &form, const char *buttonName);
// Replaces the masters list, as opening a report with these entries would.
void setMasters(TSDIAppForm &form, const QStringList &entries);
// Opens the file through "Datei > Öffnen", answering "Nein" to the question
// about unsaved changes. True when the window now shows it.
bool openReport(TSDIAppForm &form, const QString &path);

// Fills a report that passes the check before saving, the worked example of
// club 0042: every required field, counts 3 + 2 (19 - 26) and 5 (over 60)
// with the sums shown, one master "Abc;De;3"; the report counts as changed.
void fillComplete(TSDIAppForm &form);
// Saves through "Datei > Speichern unter" with the name primed. True when the
// file is on disk and the window counts the report as saved under that name.
bool saveAs(TSDIAppForm &form, const QString &path);

// Gives the widget the focus and types the text as key presses (umlauts included).
void typeInto(QWidget *widget, const QString &text);

// The widget the keyboard types into now.
inline QWidget *focused()
{
    return QApplication::focusWidget();
}

// A key press as the keyboard delivers it: to the widget with the focus.
inline void press(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QVERIFY2(target, "nothing has the focus and no window is active");
    QTest::keyClick(target, k, mods);
}

inline void typeKeys(const QString &text)
{
    for (QChar c : text) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the focus");
        QTest::keyClicks(target, QString(c));
    }
}

// Shows the members page with the focus in the count grid, on its first
// count cell; the report counts as unchanged. Null when the grid never got
// the focus.
ZahlenGrid *focusGrid(TSDIAppForm &form);
// Makes the cell current and opens its editor with F2, as a user does, its
// text selected. Null when no editor opened.
QLineEdit *editCell(ZahlenGrid *grid, int row, int col);

// The text of the status bar's single panel.
QString statusText(const TSDIAppForm &form);

// Everything the scripted dialogs showed, one "kind|caption|text" line each.
QStringList shownDialogs();

} // namespace zortest
