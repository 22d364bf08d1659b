#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <sys/resource.h>

namespace zorbench {

// Shows the window, lets the event loop paint it once, then quits and prints
// "maxrss_kb <n>" (the process's peak resident memory).
inline int showAndQuit(QApplication &app, QWidget &window)
{
    window.show();
    QTimer::singleShot(0, &app, [&window] {
        window.repaint();
        QApplication::quit();
    });
    const int rc = app.exec();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("maxrss_kb %ld\n", usage.ru_maxrss);
    return rc;
}

} // namespace zorbench
