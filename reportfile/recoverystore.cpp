#include "reportfile/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStorageInfo>
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

// What stands in the way of a file in folder, when the system does not say:
// a full disk is the usual reason.
QString whyNot(const QString &folder, const QString &what)
{
    QString existing = folder;
    while (!existing.isEmpty() && !QFileInfo(existing).isDir())
        existing = QFileInfo(existing).path() == existing ? QString() : QFileInfo(existing).path();
    const QStorageInfo disk(existing.isEmpty() ? QDir::rootPath() : existing);
    const QString reason = disk.isValid() && disk.bytesAvailable() < 64 * 1024
                                   ? QStringLiteral(" Der Datentr\u00e4ger ist voll.")
                                   : QString();
    return what.arg(QDir::toNativeSeparators(folder)) + reason;
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
    (void)setUp();
}

RecoveryStore::~RecoveryStore()
{
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

Result<void> RecoveryStore::setUp()
{
    if (isActive())
        return {};
    if (!QDir().mkpath(m_folder))
        return Failure{
                whyNot(m_folder, QStringLiteral("Der Ordner %1 kann nicht angelegt werden."))};
    QFile::setPermissions(m_folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString id = QStringLiteral("%1-%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    std::unique_ptr<QLockFile> lock = tryLock(QDir(m_folder).filePath(id + LockSuffix));
    if (!lock)
        return Failure{
                whyNot(m_folder,
                       QStringLiteral("Die Sperrdatei im Ordner %1 kann nicht angelegt werden."))};
    // Set once, before the store's thread is started: it only reads them.
    m_ownCopy = QDir(m_folder).filePath(id + CopySuffix);
    m_lock = std::move(lock);
    return {};
}

SaveResult RecoveryStore::writeBytes(const QByteArray &bytes)
{
    if (!isActive())
        return SaveFailure{SaveFailure::NotOpened,
                           QStringLiteral("Der Ordner f\u00fcr Sicherungskopien ist nicht "
                                          "eingerichtet.")};
    return writeFileSafely(m_ownCopy, bytes, Links::Refuse, 0600);
}

void RecoveryStore::writeLater(RecoveryCopy copy, Written written)
{
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        m_pending = Job{std::move(copy), std::move(written)};
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void RecoveryStore::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pending; });
        if (!m_pending)
            return; // asked to end, nothing left in hand
        Job job = std::move(*m_pending);
        m_pending.reset();
        m_running = true;
        const quint64 generation = m_generation;
        lock.unlock();
        const SaveResult result = writeBytes(encodeRecovery(job.copy));
        lock.lock();
        m_running = false;
        const bool stillWanted = generation == m_generation;
        m_idle.notify_all();
        if (stillWanted && job.written) {
            lock.unlock();
            job.written(result);
            lock.lock();
        }
    }
}

void RecoveryStore::settle(std::unique_lock<std::mutex> &lock)
{
    m_pending.reset();
    ++m_generation;
    m_idle.wait(lock, [this] { return !m_running; });
}

SaveResult RecoveryStore::writeNow(const RecoveryCopy &copy)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    settle(lock);
    // The lock stays held: nothing else writes the copy meanwhile.
    return writeBytes(encodeRecovery(copy));
}

SaveResult RecoveryStore::write(const QByteArray &bytes)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    settle(lock);
    return writeBytes(bytes);
}

void RecoveryStore::removeOwn()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    settle(lock);
    if (!m_ownCopy.isEmpty())
        QFile::remove(m_ownCopy);
}

void RecoveryStore::waitForWrites()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_running && !m_pending; });
}

QList<RecoveryStore::Orphan> RecoveryStore::claimOrphans()
{
    QList<Orphan> found;
    if (!isActive())
        return found;
    const QDir dir(m_folder);
    // The ending is looked at here rather than through a name filter, which
    // would start the regular-expression engine at every start.
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &copy : entries) {
        if (!copy.fileName().endsWith(CopySuffix)
            || copy.absoluteFilePath() == QFileInfo(m_ownCopy).absoluteFilePath())
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
