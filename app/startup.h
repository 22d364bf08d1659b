#pragma once

class QApplication;
class QTranslator;

namespace zor {

// German for Qt's own texts (dialogs, standard buttons, shortcut names) and
// German number and date formats. Returns the installed translator (owned by app).
QTranslator *installGerman(QApplication &app);

// Sets up the application, shows the main window, opens a ".zor" file named
// on the command line and runs until the window closes.
int runProgram(QApplication &app);

} // namespace zor
