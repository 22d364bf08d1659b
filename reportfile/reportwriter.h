#pragma once

#include "reportfile/report.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace zor {

// Writes the report file's bytes: the sixteen texts, the seven member lines
// ("6 m w" ... "500 m w"), one line per master, Windows-1252, CR LF after every
// line. Every write is checked; false (and *error set) when the device took
// fewer bytes than it was given or a value cannot be stored in the file.
bool writeReport(QIODevice &device, const Report &report, QString *error);

// The same bytes in memory, or an empty array when writeReport would refuse.
QByteArray encodeReport(const Report &report, QString *error = nullptr);

enum class SaveOutcome {
    Saved,
    NotOpened,  // folder missing, file write-protected, no file name
    NotWritten, // opened, but a write or the final replace failed; old file untouched
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::NotOpened;
    QString reason; // the system's words, for the user
};

// Saves the report under path: written to a temporary file beside it that
// replaces the old file only when every byte is on disk. A failed save leaves
// the old file as it was. An existing file keeps its permission bits.
SaveResult saveReport(const QString &path, const Report &report);

// A file whose permission bits forbid writing is not to be replaced, even by a
// user (root) whom the system would let write it.
bool isWriteProtected(const QString &path);

// Fault-injection seam: when set, every save writes its bytes through the
// device this returns, which forwards to `target` (the temporary file). Tests
// use it to cut a save short at any byte; the program leaves it unset.
using SaveDeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice &target)>;
void setSaveDeviceFilter(SaveDeviceFilter filter);

} // namespace zor
