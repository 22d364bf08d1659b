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
// The double arrow of a menu bar or toolbar that has more entries than room.
QIcon moreEntries(Qt::ArrowType towards);
QPixmap programPicture(int size);
} // namespace zor::icons
