#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // --help, --version and a second file are answered before there is a
    // window, so they work in a terminal without a display.
    if (const auto answered = zor::answerWithoutWindow(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    return zor::runProgram(app);
}
