#pragma once

#include "tests/support/scripteddialogs.h"
#include "ui/tsdiappform.h"

#include <memory>

class QWidget;

namespace zortest {

// A real main window with the scripted dialogs switched on and nothing primed.
std::unique_ptr<TSDIAppForm> makeForm();

// Runs the idle refresh as the event loop would when its queue runs empty.
void idle(TSDIAppForm &form);

// Gives the widget the focus and types the text as key presses (umlauts included).
void typeInto(QWidget *widget, const QString &text);

// The text of the status bar's single panel.
QString statusText(const TSDIAppForm &form);

// Everything the scripted dialogs showed, one "kind|caption|text" line each.
QStringList shownDialogs();

} // namespace zortest
