#pragma once

#include <QIcon>

// The program's own pictures, drawn at run time so there is nothing to ship.
namespace zor::icons {
QIcon newReport();
QIcon openReport();
QIcon saveReport();
QIcon sendReport();
QIcon printReport();
QIcon addEntry();
QIcon modifyEntry();
QIcon deleteEntry();
QIcon importList(); // a member list with an arrow into the report
QPixmap programPicture(int size);
} // namespace zor::icons
