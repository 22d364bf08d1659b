#pragma once

#include "import/membertable.h"

#include <QStringList>

namespace zor {

// The member-list readers (CSV through libcsv, .xlsx and .ods through
// QuaZip) are a plugin of the program's own, loaded at the first import, so
// that the program starts without those libraries. Reads the file as
// readMemberListFile does, also on a thread of its own once the plugin is
// loaded; a plugin that is missing or cannot be loaded is a Failure whose
// German reason says so.
Result<MemberBook> readMemberListFileViaPlugin(const QString &path,
                                               const ProgressHook &progress = {});

// Loads the plugin now, on the window's thread, so that the readers can then
// run on another.
Result<void> loadMemberListReaders();

// The plugin's file name, and the folders it is looked for in, in order: the
// install's library folder (found from the executable's folder), then the
// executable's own folder (the build folder).
QString memberListPluginName();
QStringList memberListPluginFolders();

// Looks in these folders instead from now on (the test programs, which do
// not stand beside the plugin); an empty list goes back to the default ones.
void setMemberListPluginFolders(const QStringList &folders);

} // namespace zor
