// The yardstick: a bare Qt Widgets window, started and shown the same way as
// the program's main window. Prints its peak memory and quits once shown.

#include "bench/startup/shown.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.setCentralWidget(new QLabel(QStringLiteral("Leer"), &window));
    window.resize(594, 429);
    return zorbench::showAndQuit(app, window);
}
