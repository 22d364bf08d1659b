#include "tests/support/smalldisk.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zortest {

SmallDisk::SmallDisk(qint64 bytes)
{
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return;
    }
    if (::geteuid() != 0) {
        m_why = QStringLiteral("a small disk needs root to mount a tmpfs");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        != 0) {
        m_why = QStringLiteral("mounting a tmpfs failed: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

qint64 SmallDisk::freeBytes() const
{
    struct statvfs st;
    if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &st) != 0)
        return -1;
    return qint64(st.f_bavail) * qint64(st.f_frsize);
}

bool SmallDisk::leaveFree(qint64 bytes)
{
    const qint64 take = freeBytes() - bytes;
    if (take <= 0)
        return freeBytes() <= bytes + 4096;
    QFile filler(filePath(QStringLiteral(".filler-%1").arg(++m_fillers)));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray chunk(4096, 'x');
    for (qint64 done = 0; done < take; done += chunk.size()) {
        const qint64 n = qMin<qint64>(chunk.size(), take - done);
        if (filler.write(chunk.constData(), n) != n)
            break;
    }
    filler.close();
    return freeBytes() <= bytes + 4096;
}

void SmallDisk::freeAgain()
{
    for (; m_fillers > 0; --m_fillers)
        QFile::remove(filePath(QStringLiteral(".filler-%1").arg(m_fillers)));
}

} // namespace zortest
