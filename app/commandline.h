#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

namespace zor {

// What the command line asks for: `zor-quorvane [Optionen] [Datei]`.
struct CommandLine
{
    enum Action { Run, ShowHelp, ShowVersion };
    Action action = Run;
    QString file; // the report to open; empty for a new one
};

// Reads the arguments as main() gets them (the program's name first), before
// there is a window: Qt's own options (-platform NAME, -style=NAME, ...) are
// passed over, as QApplication takes them. So the answer is the same with a
// display or without. A command line that is refused fails with what is
// wrong, in German, without the program's name.
Result<CommandLine> parseCommandLine(const QStringList &arguments);

// The German help text, ended by a line feed.
QString commandLineHelp();

// "zor-quorvane 1.10", ended by a line feed.
QString commandLineVersion();

// What stderr gets for a refused command line, ended by a line feed.
QString commandLineRefusal(const QString &error);

// The exit status for a refused command line.
constexpr int refusedCommandLineStatus = 2;

} // namespace zor
