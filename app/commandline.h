#pragma once

#include "reportfile/result.h"

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

// Reads the arguments (the program's name first). Qt's own options must have
// been taken out already (QApplication does that). A command line that is
// refused fails with what is wrong, in German, without the program's name.
Result<CommandLine> parseCommandLine(const QStringList &arguments);

// True when the arguments can be answered without a window (and so without
// a display): --help, --version, or more than one file. Arguments that may
// hold Qt's own options wait for QApplication to take those out.
bool answerableWithoutWindow(const QStringList &arguments);

// The German help text, ended by a line feed.
QString commandLineHelp();

// "zor-quorvane 1.10", ended by a line feed.
QString commandLineVersion();

// What stderr gets for a refused command line, ended by a line feed.
QString commandLineRefusal(const QString &error);

// The exit status for a refused command line.
constexpr int refusedCommandLineStatus = 2;

} // namespace zor
