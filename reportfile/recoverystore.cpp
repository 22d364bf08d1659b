#include "reportfile/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace zor {

namespace {

const QString CopySuffix = QStringLiteral(".zorrec");
const QString LockSuffix = QStringLiteral(".lock");

std::unique_ptr<QLockFile> tryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale, never its age: a report can be
    // open for a whole evening.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/recovery");
}

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder)
{
    if (!QDir().mkpath(folder)) {
        m_why = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                        .arg(QDir::toNativeSeparators(folder));
        return;
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString id = QStringLiteral("%1-%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    m_lock = tryLock(QDir(folder).filePath(id + LockSuffix));
    if (!m_lock) {
        m_why = QStringLiteral("Die Sperrdatei im Ordner %1 kann nicht angelegt werden.")
                        .arg(QDir::toNativeSeparators(folder));
        return;
    }
    m_ownCopy = QDir(folder).filePath(id + CopySuffix);
}

RecoveryStore::~RecoveryStore() = default;

SaveResult RecoveryStore::write(const QByteArray &bytes)
{
    if (!isActive())
        return SaveFailure{SaveFailure::NotOpened, m_why};
    return writeFileSafely(m_ownCopy, bytes, Links::Refuse, 0600);
}

void RecoveryStore::removeOwn()
{
    if (!m_ownCopy.isEmpty())
        QFile::remove(m_ownCopy);
}

bool RecoveryStore::hasOwn() const
{
    return !m_ownCopy.isEmpty() && QFileInfo::exists(m_ownCopy);
}

QList<RecoveryStore::Orphan> RecoveryStore::claimOrphans()
{
    QList<Orphan> found;
    if (!isActive())
        return found;
    const QDir dir(m_folder);
    const QFileInfoList copies = dir.entryInfoList({QStringLiteral("*") + CopySuffix},
                                                   QDir::Files | QDir::Hidden);
    for (const QFileInfo &copy : copies) {
        if (copy.absoluteFilePath() == QFileInfo(m_ownCopy).absoluteFilePath())
            continue;
        const QString lockPath = dir.filePath(copy.completeBaseName() + LockSuffix);
        std::unique_ptr<QLockFile> lock = tryLock(lockPath);
        if (!lock)
            continue; // a running instance keeps it
        found.append(Orphan{copy.absoluteFilePath(), copy.lastModified(),
                            std::shared_ptr<QLockFile>(lock.release())});
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan &a, const Orphan &b) { return a.modified > b.modified; });
    return found;
}

void RecoveryStore::Orphan::release()
{
    if (lock)
        lock->unlock();
    lock.reset();
}

void RecoveryStore::Orphan::drop()
{
    QFile::remove(path);
    release();
}

} // namespace zor
