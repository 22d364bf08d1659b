#include "app/endsignals.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before anything writes a file: the recovery folder's lock is written at start.
    zor::ignoreFileSizeSignal();
    // A logout or a closed terminal ends the program only after the recovery copy.
    zor::catchEndSignals();
    // The command line is decided before there is a window, the same with a
    // display or without: help, version and a refusal need none.
    const zor::Result<zor::CommandLine> command = zor::readCommandLine(argc, argv);
    if (const auto answered = zor::answerCommandLine(command))
        return *answered;
    QApplication app(argc, argv);
    return zor::runProgram(app, *command);
}
