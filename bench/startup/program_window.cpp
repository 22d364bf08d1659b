// The program's own start-up, as main() does it, up to the main window shown.
// Prints its peak memory and quits once shown.

#include "app/startup.h"
#include "bench/startup/shown.h"
#include "ui/tsdiappform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zor-quorvane"));
    zor::installGerman(app);
    TSDIAppForm form;
    return zorbench::showAndQuit(app, form);
}
