#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zortest {

// A real, small file system that fills up: a tmpfs mounted on a temporary
// folder for the length of one test and unmounted afterwards. Mounting needs
// root (CI runs as root); elsewhere isMounted() is false and why() says so.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Bytes the file system still takes.
    qint64 freeBytes() const;
    // Fills the disk with a file of its own until at most `bytes` stay free
    // (tmpfs counts whole pages). False when that did not work.
    bool leaveFree(qint64 bytes);
    // Removes what leaveFree() put there: the disk has room again.
    void freeAgain();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
    int m_fillers = 0;
};

} // namespace zortest

// Skips the test where no small disk can be mounted.
#define ZORTEST_SMALL_DISK(var, bytes) \
    zortest::SmallDisk var(bytes); \
    if (!var.isMounted()) \
        QSKIP(qPrintable(var.why()));
