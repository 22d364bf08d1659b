#pragma once

#include "core/result.h"
#include "reportfile/recoverycopy.h"
#include "reportfile/safefile.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QLockFile;

namespace zor {

// The folder of recovery copies, private to the user (0700): one copy per
// running instance, each beside a lock file that the instance holds while it
// runs. A copy whose lock nobody holds is left from a run that did not end
// normally (a crash, a kill, a lost session).
//
// Copies are encoded and written on a thread of the store's own, so the
// window only hands over a snapshot of the report. One write runs at a time;
// a copy handed over while another waits replaces it. On disk there is always
// a whole copy or none.
class RecoveryStore
{
public:
    explicit RecoveryStore(const QString &folder); // sets up as setUp() does
    ~RecoveryStore();                              // finishes the write in hand
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // The user's own data folder for the program, "recovery" below it.
    static QString defaultFolder();

    // Makes the folder and takes this instance's lock, unless that is done;
    // the reason in German when it cannot be done (a full disk, no
    // permission). Each call tries again, so a disk with room again is used.
    Result<void> setUp();
    bool isActive() const { return m_lock != nullptr; }
    QString ownCopyPath() const { return m_ownCopy; }

    // Hands the copy to the store's thread, which encodes and writes it and
    // then calls written (on that thread) with the outcome. Not called for a
    // copy that a newer one replaced before its turn, nor for one whose copy
    // removeOwn() or writeNow() has since superseded.
    using Written = std::function<void(const SaveResult &)>;
    void writeLater(RecoveryCopy copy, Written written);
    // Writes the copy on the calling thread, after the write under way; one
    // that waits is dropped, this one being newer.
    SaveResult writeNow(const RecoveryCopy &copy);
    // Writes these bytes as this instance's copy, on the calling thread.
    SaveResult write(const QByteArray &bytes);
    // Removes this instance's copy. A write that waits is dropped and one
    // under way is waited for, so nothing puts the copy back afterwards.
    void removeOwn();
    // Waits until no write waits or runs.
    void waitForWrites();

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
    struct Job
    {
        RecoveryCopy copy;
        Written written;
    };
    void run(); // the store's thread
    // With m_mutex held: drops a waiting job and waits for a running one.
    void settle(std::unique_lock<std::mutex> &lock);
    SaveResult writeBytes(const QByteArray &bytes);

    QString m_folder;
    QString m_ownCopy;
    std::unique_ptr<QLockFile> m_lock;

    std::mutex m_mutex;
    std::condition_variable m_wake; // a job waits, or the thread is to end
    std::condition_variable m_idle; // a job is done
    std::optional<Job> m_pending;
    bool m_running = false;
    bool m_stop = false;
    quint64 m_generation = 0; // counts what supersedes a write under way
    std::thread m_thread;
};

} // namespace zor
