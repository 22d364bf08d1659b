#pragma once

#include "app/commandline.h"

#include <optional>

class QApplication;
class QTranslator;

namespace zor {

// German for Qt's own texts (dialogs, standard buttons, shortcut names) and
// German number and date formats. Returns the installed translator (owned by
// app); the program's own boxes name their buttons themselves, so they stay
// German when Qt's translation is missing.
QTranslator *installGerman(QApplication &app);

// The command line as main() gets it, read before there is a window.
Result<CommandLine> readCommandLine(int argc, char *argv[]);

// Answers --help and --version on stdout and refuses a wrong command line on
// stderr, with its exit status; empty when the program must start.
std::optional<int> answerCommandLine(const Result<CommandLine> &command);

// Sets up the application, shows the main window, opens the ".zor" file the
// command line names and runs until the window closes.
int runProgram(QApplication &app, const CommandLine &command);

} // namespace zor
