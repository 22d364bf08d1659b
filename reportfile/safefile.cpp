#include "reportfile/safefile.h"

#include "core/texts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace {

QByteArray encodedPath(const QString &path)
{
    return QFile::encodeName(path);
}

qint64 mtimeOf(const struct stat &st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Writes straight to a file descriptor, with no buffer of its own in between,
// so every failure of the kernel reaches the caller with its error number.
class FdDevice : public QIODevice
{
public:
    explicit FdDevice(int fd)
        : m_fd(fd)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    int lastErrno() const { return m_errno; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        qint64 done = 0;
        while (done < len) {
            const ssize_t n = ::write(m_fd, data + done, size_t(len - done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                m_errno = errno;
                setErrorString(describeSystemError(m_errno));
                break;
            }
            if (n == 0) {
                m_errno = ENOSPC;
                setErrorString(describeSystemError(m_errno));
                break;
            }
            done += n;
        }
        return done > 0 ? done : (m_errno ? -1 : 0);
    }

private:
    int m_fd;
    int m_errno = 0;
};

SaveResult failed(SaveFailure::Kind kind, const QString &reason)
{
    return SaveFailure{kind, reason};
}

// Removes the temporary file unless the save went through.
class TempFile
{
public:
    TempFile(QByteArray name, int fd)
        : m_name(std::move(name))
        , m_fd(fd)
    { }
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_name.constData());
    }
    const QByteArray &name() const { return m_name; }
    // Closes the descriptor and reports what close() said.
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }
    void keep() { m_kept = true; }

private:
    QByteArray m_name;
    int m_fd;
    bool m_kept = false;
};

mode_t currentUmask()
{
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

// A temporary file of ours that a write cut short left beside the target:
// prefix and six of mkstemp's letters, a plain file of the user's that no
// running write holds locked.
// Root's leftovers may already carry the owner of the file they were for.
void removeLeftovers(const QString &folder, const QString &prefix, std::optional<uid_t> targetOwner)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const bool mkstempLetters = std::all_of(name.end() - 6, name.end(), [](QChar c) {
            return c.unicode() < 128 && std::isalnum(c.unicode());
        });
        if (!mkstempLetters)
            continue;
        const QByteArray path = encodedPath(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held;
        struct stat named;
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode)
            && (held.st_uid == ::geteuid()
                || (::geteuid() == 0 && targetOwner && held.st_uid == *targetOwner))
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.constData(), &named) == 0
            && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(path.constData());
        ::close(fd);
    }
}

QString writeFailure(FdDevice &fd, QIODevice &target)
{
    if (fd.lastErrno())
        return describeSystemError(fd.lastErrno());
    const QString why = target.errorString();
    if (!why.isEmpty() && why != QLatin1String("Unknown error"))
        return why;
    return QStringLiteral("Das Speichermedium hat nicht alle Daten angenommen.");
}

} // namespace

QString describeSystemError(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datentr\u00e4ger ist voll.");
    case EFBIG:
        return QStringLiteral(
                "Die Datei w\u00e4re gr\u00f6\u00dfer, als der Datentr\u00e4ger oder das System "
                "zul\u00e4sst.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Schreibberechtigung.");
    case EROFS:
        return QStringLiteral("Der Datentr\u00e4ger ist schreibgesch\u00fctzt.");
    case EIO:
        return QStringLiteral("Der Datentr\u00e4ger meldet einen Ein-/Ausgabefehler.");
    case ENOENT:
        return QStringLiteral("Der Ordner oder die Datei existiert nicht.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen steht ein Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien gleichzeitig ge\u00f6ffnet.");
    case ENOMEM:
        return QStringLiteral("Es ist nicht genug Arbeitsspeicher frei.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    default:
        return QStringLiteral("Das System meldet den Fehler %1 (%2).")
                .arg(err)
                .arg(QString::fromLocal8Bit(std::strerror(err)));
    }
}

bool isWriteProtected(const QString &path)
{
    struct stat st;
    if (::stat(encodedPath(path).constData(), &st) != 0)
        return false;
    // The bits themselves, which root's access rights would otherwise pass over;
    // then the system's own check for the user who runs the program.
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        return true;
    return ::access(encodedPath(path).constData(), W_OK) != 0 && errno == EACCES;
}

SaveResult writeFileSafely(const QString &path, const QByteArray &bytes, Links links,
                           int newFileMode)
{
    // Past a file size limit the system would end the program with SIGXFSZ and
    // take the report on screen with it; ignored, the write fails with EFBIG
    // and the user is told.
    static const bool fileSizeSignalIgnored = [] {
        ::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    Q_UNUSED(fileSizeSignalIgnored);
    if (path.isEmpty())
        return failed(SaveFailure::NotOpened, QStringLiteral("Es ist kein Dateiname angegeben."));

    QString target = QFileInfo(path).absoluteFilePath();
    struct stat st;
    bool exists = ::lstat(encodedPath(target).constData(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        if (links == Links::Refuse)
            return failed(
                    SaveFailure::NotOpened,
                    QStringLiteral("Unter diesem Namen steht eine Verkn\u00fcpfung auf eine andere "
                                   "Stelle; sie wird nicht \u00fcberschrieben."));
        // The link stays; the file it points to is the one replaced.
        const QString resolved = QFileInfo(target).canonicalFilePath();
        if (resolved.isEmpty())
            return failed(
                    SaveFailure::NotOpened,
                    QStringLiteral("Unter diesem Namen steht eine Verkn\u00fcpfung, die auf keine "
                                   "Datei zeigt."));
        target = resolved;
        exists = ::lstat(encodedPath(target).constData(), &st) == 0;
    }
    if (exists && S_ISDIR(st.st_mode))
        return failed(SaveFailure::NotOpened,
                      QStringLiteral("Unter diesem Namen steht ein Ordner."));
    if (exists && !S_ISREG(st.st_mode))
        return failed(
                SaveFailure::NotOpened,
                QStringLiteral("Unter diesem Namen steht keine gew\u00f6hnliche Datei, sondern "
                               "zum Beispiel ein Ger\u00e4t oder eine Pipe."));
    if (exists && isWriteProtected(target))
        return failed(SaveFailure::NotOpened,
                      QStringLiteral("Die Datei ist schreibgesch\u00fctzt."));

    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return failed(SaveFailure::NotOpened,
                      QStringLiteral("Der Ordner %1 existiert nicht.").arg(quotedPath(folder)));

    // The temporary file is hidden and lives beside the target, so the final
    // rename stays on the same file system and is atomic.
    const QString base = info.fileName().size() < 200 ? info.fileName() : QStringLiteral("zor");
    const QString prefix = QStringLiteral(".") + base + QStringLiteral("-");
    // What an earlier write cut short left goes first: it may be what fills the disk.
    removeLeftovers(folder, prefix, exists ? std::optional<uid_t>(st.st_uid) : std::nullopt);
    QByteArray tmpl;
    int fd = -1;
    for (int attempt = 0; attempt < 5 && fd < 0; ++attempt) {
        tmpl = encodedPath(folder + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
        fd = ::mkstemp(tmpl.data());
        if (fd < 0)
            break;
        // Held while it is written, so no other instance takes it for a leftover;
        // one that did so in the moment before is seen by the file being gone.
        struct stat own;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &own) != 0 || own.st_nlink == 0) {
            ::close(fd);
            fd = -1;
            errno = EBUSY;
        }
    }
    if (fd < 0) {
        const int err = errno;
        if (err == EACCES || err == EPERM)
            return failed(SaveFailure::NotOpened,
                          QStringLiteral("Keine Schreibberechtigung im Ordner %1.")
                                  .arg(quotedPath(folder)));
        return failed(SaveFailure::NotOpened, describeSystemError(err));
    }
    TempFile tmp(tmpl, fd);

    const mode_t mode = exists ? (st.st_mode & 07777) : (mode_t(newFileMode) & ~currentUmask());
    if (::fchmod(fd, mode) != 0)
        return failed(SaveFailure::NotWritten, describeSystemError(errno));
    if (exists && ::geteuid() == 0 && (st.st_uid != 0 || st.st_gid != 0)) {
        // Root saving another user's report leaves it that user's file.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0)
            return failed(SaveFailure::NotWritten, describeSystemError(errno));
    }

    {
        FdDevice raw(fd);
        std::unique_ptr<QIODevice> filtered = SaveDevice::current().through(raw);
        QIODevice &sink = filtered ? *filtered : static_cast<QIODevice &>(raw);
        qint64 done = 0;
        while (done < bytes.size()) {
            const qint64 n = sink.write(bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return failed(SaveFailure::NotWritten, writeFailure(raw, sink));
            done += n;
        }
    }
    // Only what the disk has taken counts: a full disk may show itself here.
    if (const int err = SaveDevice::current().sync(fd))
        return failed(SaveFailure::NotWritten, describeSystemError(err));
    if (tmp.close() != 0)
        return failed(SaveFailure::NotWritten, describeSystemError(errno));
    if (::rename(tmp.name().constData(), encodedPath(target).constData()) != 0)
        return failed(SaveFailure::NotWritten, describeSystemError(errno));
    tmp.keep();

    // The rename itself is made durable; a folder that cannot be synced (some
    // network file systems) does not undo the save that already happened.
    const int dirFd = ::open(encodedPath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        SaveDevice::current().sync(dirFd);
        ::close(dirFd);
    }
    return {};
}

ReadResult readFileBounded(const QString &path, qint64 maxBytes)
{
    // Non-blocking, so that opening a pipe does not wait for a writer.
    const int fd = ::open(encodedPath(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT)
            return ReadFailure{ReadFailure::NotFound, QStringLiteral("Die Datei existiert nicht.")};
        return ReadFailure{ReadFailure::Unreadable,
                           (err == EACCES || err == EPERM)
                                   ? QStringLiteral("Keine Leseberechtigung.")
                                   : describeSystemError(err)};
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st;
    if (::fstat(fd, &st) != 0)
        return ReadFailure{ReadFailure::Unreadable, describeSystemError(errno)};
    if (S_ISDIR(st.st_mode))
        return ReadFailure{ReadFailure::Unreadable,
                           QStringLiteral("Das ist ein Ordner, keine Datei.")};
    if (!S_ISREG(st.st_mode))
        return ReadFailure{
                ReadFailure::Unreadable,
                QStringLiteral("Das ist keine gew\u00f6hnliche Datei, sondern zum Beispiel ein "
                               "Ger\u00e4t oder eine Pipe.")};
    const QString tooLarge = QStringLiteral(
                                     "Die Datei ist gr\u00f6\u00dfer als %1 MB und damit kein "
                                     "Quorvane-Bericht.")
                                     .arg(maxBytes / (1024 * 1024));
    if (st.st_size > maxBytes)
        return ReadFailure{ReadFailure::TooLarge, tooLarge, qint64(st.st_size)};
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    // Read up to one byte past the limit, so a file that grows is noticed.
    QByteArray bytes;
    bytes.resize(qsizetype(qMin<qint64>(st.st_size, maxBytes) + 1));
    qint64 have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > maxBytes)
                return ReadFailure{ReadFailure::TooLarge, tooLarge};
            bytes.resize(qsizetype(qMin<qint64>(have * 2 + 4096, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, size_t(bytes.size() - have));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadFailure{ReadFailure::Unreadable, describeSystemError(errno)};
        }
        if (n == 0)
            break;
        have += n;
    }
    if (have > maxBytes)
        return ReadFailure{ReadFailure::TooLarge, tooLarge};
    bytes.resize(qsizetype(have));
    return FileContents{std::move(bytes), mtimeOf(st)};
}

FileFingerprint FileFingerprint::of(const QByteArray &bytes, qint64 mtimeNs)
{
    FileFingerprint fp;
    fp.valid = true;
    fp.size = bytes.size();
    fp.mtimeNs = mtimeNs;
    fp.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return fp;
}

FileFingerprint FileFingerprint::ofFile(const QString &path)
{
    const ReadResult read = readFileBounded(path);
    if (!read)
        return {};
    return of(read->bytes, read->mtimeNs);
}

bool changedSince(const QString &path, const FileFingerprint &fp)
{
    if (!fp.valid)
        return false;
    struct stat st;
    if (::stat(encodedPath(path).constData(), &st) != 0)
        return false;
    // Only different bytes count as a change; a report is 3 MB at most.
    const ReadResult now = readFileBounded(path);
    if (!now)
        return true;
    return now->bytes.size() != fp.size
           || QCryptographicHash::hash(now->bytes, QCryptographicHash::Sha256) != fp.hash;
}

SaveDevice &SaveDevice::real()
{
    static SaveDevice disk;
    return disk;
}

std::unique_ptr<QIODevice> SaveDevice::through(QIODevice &)
{
    return nullptr;
}

int SaveDevice::sync(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

} // namespace zor
