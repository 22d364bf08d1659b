// The yardstick: a bare Qt Widgets main window of the program's size. It is
// started like the program (by bench_startup, on a real X server) and stays
// open until its window is closed.

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
    window.show();
    return app.exec();
}
