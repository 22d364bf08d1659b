#pragma once

#include "core/result.h"
#include "core/standin.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

namespace zor {

// Why a file was not saved. The user is told differently whether anything
// was begun at all.
struct SaveFailure
{
    enum Kind {
        NotOpened,  // no file name, folder missing, write-protected, not a plain file
        NotWritten, // begun, but a write, the flush to disk or the final replace
                    // failed; the old file is untouched
    };
    Kind kind = NotOpened;
    QString reason; // in German, for the user: what happened
};
using SaveResult = Result<void, SaveFailure>;

// How a symbolic link standing under the name is treated. A file the user
// chose may be a link to the real report; a name the program makes up (the
// companion copy) is never written through one.
enum class Links { Follow, Refuse };

// Writes bytes under path so that a failure anywhere is seen and harms
// nothing: a temporary file beside the target gets every byte (each write
// checked), is flushed to the disk (fsync) and only then renamed over the old
// file. Whatever fails, the old file stays byte for byte as it was and no
// temporary file is left. An existing file keeps its permission bits (and,
// for root, its owner). Directories, devices and pipes under the name are
// refused, never replaced. A new file gets newFileMode less the umask.
//
// The temporary file is ".<name>-XXXXXX" beside the target, locked (flock)
// while it is written. One that a write cut short by a kill or a crash left
// there (that name, the user's own, a plain file nobody holds locked) is
// removed by the next write to the same target.
SaveResult writeFileSafely(const QString &path, const QByteArray &bytes,
                           Links links = Links::Follow, int newFileMode = 0666);

// A file whose permission bits forbid writing is not to be replaced, even by a
// user (root) whom the system would let write it.
bool isWriteProtected(const QString &path);

// The largest report file that is opened. A report with 100,000 masters is
// about 3 MB; anything beyond this is no report.
constexpr qint64 MaxReportFileSize = 64 * 1024 * 1024;

struct FileContents
{
    QByteArray bytes;
    qint64 mtimeNs = 0; // modification time of what was read
};

// Why a file was not read. The kind lets a caller word it for what it reads.
struct ReadFailure
{
    enum Kind {
        NotFound,
        TooLarge,   // over the limit when opened, or grown past it while read
        Unreadable, // no permission, a folder, a pipe or device, a read error
    };
    Kind kind = Unreadable;
    QString reason;   // in German, for the user
    qint64 size = -1; // TooLarge: the size it had when opened; -1 when it grew while read
};
using ReadResult = Result<FileContents, ReadFailure>;

// Reads a whole plain file of at most maxBytes. A pipe, a device or a folder
// is refused without waiting on it, and so is a file that is (or grows) larger.
ReadResult readFileBounded(const QString &path, qint64 maxBytes = MaxReportFileSize);

// What a file was when the program last read or wrote it: enough to notice
// that another program has changed it since.
struct FileFingerprint
{
    bool valid = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    QByteArray hash;

    static FileFingerprint of(const QByteArray &bytes, qint64 mtimeNs);
    // Of the file as it is on disk now; invalid when it cannot be read.
    static FileFingerprint ofFile(const QString &path);
};

// True when the file under path exists and no longer holds what fp describes.
// The bytes are compared every time: a tool that puts the old time back, or a
// change within the same second on a coarse file system, leaves size and time
// as they were. A file that has gone, or an invalid fp, counts as unchanged:
// nothing of another program's would be overwritten.
bool changedSince(const QString &path, const FileFingerprint &fp);

// The German words for a system error number (errno).
QString describeSystemError(int err);

// The disk a safe write goes to. The real one takes the bytes as they are;
// tests put a disk in its place that fills up after any byte.
class SaveDevice : public Replaceable<SaveDevice>
{
public:
    static SaveDevice &real();

    // The device the bytes pass through on their way to `target` (the
    // temporary file); null: straight into target.
    virtual std::unique_ptr<QIODevice> through(QIODevice &target);

    // Makes what was written to fd durable (fsync): the temporary file once
    // every byte is in it, then the folder once it has been renamed. 0, or
    // the system's error number.
    virtual int sync(int fd);
};

} // namespace zor
