#pragma once

#include <optional>

class QApplication;
class QTranslator;

namespace zor {

// German for Qt's own texts (dialogs, standard buttons, shortcut names) and
// German number and date formats. Returns the installed translator (owned by
// app); the program's own boxes name their buttons themselves, so they stay
// German when Qt's translation is missing.
QTranslator *installGerman(QApplication &app);

// Answers --help and --version on stdout and refuses a second file on
// stderr; empty when the program must start.
std::optional<int> answerWithoutWindow(int argc, char *argv[]);

// Reads the command line (a refused one ends with status 2 before any
// window), sets up the application, shows the main window, opens the ".zor"
// file named on the command line and runs until the window closes.
int runProgram(QApplication &app);

} // namespace zor
