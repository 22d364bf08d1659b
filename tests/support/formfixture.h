#pragma once

#include "tests/support/scripteddialogs.h"
#include "ui/tsdiappform.h"

#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui/zahlengrid.h"

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
                 const char *name); // "Sum1".."Sum7", "MSum", "WSum", "AllSum"
TAboutBox *aboutBox(const TSDIAppForm &form);
QAction *action(const TSDIAppForm &form, const char *name); // "FileSave1", ...
// Runs the menu entry or toolbar action, or clicks the button, of that name.
void trigger(const TSDIAppForm &form, const char *actionName);
void click(const TSDIAppForm &form, const char *buttonName);
// Replaces the masters list, as opening a report with these entries would.
void setMasters(TSDIAppForm &form, const QStringList &entries);
// Opens the file through "Datei > Öffnen", answering "Nein" to the question
// about unsaved changes. True when the window now shows it.
bool openReport(TSDIAppForm &form, const QString &path);

// Gives the widget the focus and types the text as key presses (umlauts included).
void typeInto(QWidget *widget, const QString &text);

// The text of the status bar's single panel.
QString statusText(const TSDIAppForm &form);

// Everything the scripted dialogs showed, one "kind|caption|text" line each.
QStringList shownDialogs();

} // namespace zortest
