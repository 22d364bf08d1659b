#include "app/endsignals.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before anything writes a file: the recovery folder's lock is written at start.
    zor::ignoreFileSizeSignal();
    // A logout or a closed terminal ends the program only after the recovery copy.
    zor::catchEndSignals();
    // --help, --version and a second file are answered before there is a
    // window, so they work in a terminal without a display.
    if (const auto answered = zor::answerWithoutWindow(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    return zor::runProgram(app);
}
