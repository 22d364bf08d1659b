#pragma once

#include "reportfile/safefile.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QLockFile;

namespace zor {

// The folder of recovery copies, private to the user (0700): one copy per
// running instance, each beside a lock file that the instance holds while it
// runs. A copy whose lock nobody holds is left from a run that did not end
// normally (a crash, a kill, a lost session).
class RecoveryStore
{
public:
    explicit RecoveryStore(const QString &folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // The user's own data folder for the program, "recovery" below it.
    static QString defaultFolder();

    bool isActive() const { return m_lock != nullptr; }
    QString why() const { return m_why; } // when not active
    QString ownCopyPath() const { return m_ownCopy; }

    // Writes this instance's copy atomically, mode 0600.
    SaveResult write(const QByteArray &bytes);
    void removeOwn();
    bool hasOwn() const;

    // A copy of an earlier run, claimed: its lock is held by this instance
    // until release() or drop(), so a second instance starting at the same
    // time does not offer it too.
    struct Orphan
    {
        QString path;
        QDateTime modified;
        std::shared_ptr<QLockFile> lock;
        void release();
        void drop(); // removes the copy, then its lock
    };
    // Newest first.
    QList<Orphan> claimOrphans();

private:
    QString m_folder;
    QString m_ownCopy;
    std::unique_ptr<QLockFile> m_lock;
    QString m_why;
};

} // namespace zor
