// The recovery copy: what was typed survives a crash, a kill or a lost session.

#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "entry/membercounts.h"
#include "reportfile/recoverycopy.h"
#include "reportfile/recoverystore.h"
#include "ui/dialogs.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QListWidget>
#include <QLocale>
#include <QTimer>

#include <cstdio>

namespace {

// Soon enough that little is lost, late enough that typing is not slowed.
constexpr int RecoveryDelayMs = 2000;
} // namespace

void TSDIAppForm::startRecovery(const QString &folder)
{
    // A folder that cannot be set up now (a full disk) is tried again at the
    // next change, and the user is told then.
    m_recovery = std::make_unique<zor::RecoveryStore>(folder);
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setSingleShot(true);
        m_recoveryTimer->setInterval(RecoveryDelayMs);
        connect(m_recoveryTimer, &QTimer::timeout, this, [this] {
            if (Modified)
                writeRecoveryLater();
            else
                discardRecovery();
        });
        // Any change of the report's controls starts the timer once; it is not
        // restarted by further typing, so a copy is at most two seconds old.
        // The timer alone is the receiver: the controls still signal changes
        // while the window is being torn down.
        QTimer *timer = m_recoveryTimer;
        const auto changed = [timer] {
            if (!timer->isActive())
                timer->start();
        };
        for (int i = 0; i < zor::FieldCount; ++i)
            connect(field(static_cast<zor::Field>(i)), &QLineEdit::textChanged, timer, changed);
        connect(ui->Zahlen, &QTableWidget::cellChanged, timer, changed);
        QAbstractItemModel *masters = ui->Liste->model();
        connect(masters, &QAbstractItemModel::rowsInserted, timer, changed);
        connect(masters, &QAbstractItemModel::rowsRemoved, timer, changed);
        connect(masters, &QAbstractItemModel::dataChanged, timer, changed);
        connect(masters, &QAbstractItemModel::modelReset, timer, changed);
    }
}

void TSDIAppForm::recoveryChange()
{
    // A count typed into the cell editor is a change before it is handed in.
    if (m_recoveryTimer && !m_recoveryTimer->isActive())
        m_recoveryTimer->start();
}

QString TSDIAppForm::recoveryCopyPath() const
{
    return m_recovery ? m_recovery->ownCopyPath() : QString();
}

zor::RecoveryCopy TSDIAppForm::recoverySnapshot() const
{
    // Cheap on the window's thread: the values as the controls hold them
    // (strings share their data); the store's thread encodes and writes them.
    zor::RecoveryCopy copy;
    copy.report = currentReport();
    if (const auto typing = ui->Zahlen->pendingEdit();
        typing && zor::isCountCell(typing->row, typing->col))
        copy.report.counts[typing->row - 1][typing->col - 1] = typing->text;
    copy.fileName = m_fileName;
    if (m_knownPath == m_fileName)
        copy.known = m_known;
    copy.made = QDateTime::currentDateTime();
    return copy;
}

void TSDIAppForm::writeRecoveryLater()
{
    if (!m_recovery)
        return;
    if (const zor::Result<void> ready = m_recovery->setUp(); !ready) {
        recoveryFailed(ready.reason());
        return;
    }
    m_recovery->writeLater(recoverySnapshot(), [this](const zor::SaveResult &written) {
        // On the store's thread; the window hears of it on its own.
        QMetaObject::invokeMethod(
                this,
                [this, written] {
                    if (written)
                        m_recoveryFailureShown = false;
                    else
                        recoveryFailed(written.reason());
                },
                Qt::QueuedConnection);
    });
}

zor::SaveResult TSDIAppForm::writeRecoveryNow()
{
    if (!m_recovery)
        return zor::SaveFailure{zor::SaveFailure::NotOpened, QString()};
    if (const zor::Result<void> ready = m_recovery->setUp(); !ready)
        return zor::SaveFailure{zor::SaveFailure::NotOpened, ready.reason()};
    return m_recovery->writeNow(recoverySnapshot());
}

void TSDIAppForm::recoveryFailed(const QString &reason)
{
    // Said once, not every two seconds while the disk stays full; again only
    // after a copy could be written in between.
    if (m_recoveryFailureShown)
        return;
    m_recoveryFailureShown = true;
    zor::Dialogs::current().message(
            this, zor::programName(),
            QStringLiteral("Die Sicherungskopie Ihrer Eingaben konnte nicht geschrieben werden:\n"
                           "%1\n\nZOR-Quorvane versucht es bei der n\u00e4chsten \u00c4nderung "
                           "wieder. Bitte speichern Sie den Bericht, sobald es geht.")
                    .arg(reason));
}

bool TSDIAppForm::keepRecoveryCopyNow()
{
    if (!m_recovery)
        return false;
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    if (!Modified) {
        // Everything is in its file: no copy is to be offered afterwards.
        m_recovery->removeOwn();
        return true;
    }
    const zor::SaveResult written = writeRecoveryNow();
    if (!written) {
        // The program is ending: there is no one to show a box to.
        std::fprintf(stderr, "zor-quorvane: %s\n",
                     qPrintable(QStringLiteral("Die Sicherungskopie konnte nicht geschrieben "
                                               "werden: %1")
                                        .arg(written.reason())));
    }
    return written.ok();
}

void TSDIAppForm::discardRecovery()
{
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    if (m_recovery)
        m_recovery->removeOwn(); // after a write under way, which could put it back
}

bool TSDIAppForm::offerRecovery()
{
    if (!m_recovery || !m_recovery->isActive())
        return false;
    // Asked only once a copy exists; a folder that could not be set up is
    // told at the first change.
    QList<zor::RecoveryStore::Orphan> orphans = m_recovery->claimOrphans();
    bool restored = false;
    bool later = false;
    for (zor::RecoveryStore::Orphan &orphan : orphans) {
        if (restored || later) {
            // One report at a time: the others wait for the next start.
            orphan.release();
            continue;
        }
        const zor::ReadResult file = zor::readFileBounded(orphan.path);
        const zor::Result<zor::RecoveryCopy> decoded = file ? zor::decodeRecovery(file->bytes)
                                                            : zor::Failure{file.reason()};
        if (!decoded) {
            zor::Dialogs::current().message(
                    this, zor::programName(),
                    QStringLiteral(
                            "Eine Sicherungskopie vom %1 Uhr ist besch\u00e4digt und kann nicht "
                            "wiederhergestellt werden. Sie wird entfernt.\n\n%2")
                            .arg(QLocale().toString(orphan.modified,
                                                    QStringLiteral("dd.MM.yyyy HH:mm")),
                                 decoded.reason()));
            orphan.drop();
            continue;
        }
        const zor::RecoveryCopy &copy = *decoded;
        const QString which = copy.fileName.isEmpty() ? QStringLiteral("neuer Bericht")
                                                      : zor::quotedPath(copy.fileName);
        const int choice = zor::Dialogs::current().choose(
                this, zor::programName(),
                QStringLiteral(
                        "ZOR-Quorvane wurde beim letzten Mal nicht ordnungsgem\u00e4\u00df beendet. "
                        "Von Ihren ungespeicherten Eingaben gibt es eine Sicherungskopie:\n\n"
                        "Bericht: %1\nStand: %2 Uhr\n\nSoll sie wiederhergestellt werden?")
                        .arg(which, QLocale().toString(copy.made.toLocalTime(),
                                                       QStringLiteral("dd.MM.yyyy HH:mm"))),
                {QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")});
        if (choice == 1) {
            // Only the button itself throws a copy away.
            orphan.drop();
            continue;
        }
        if (choice != 0) {
            // Closed without a choice: the window starts with a new report,
            // and the next start asks again.
            orphan.release();
            later = true;
            continue;
        }
        guarded([this] { ResetReport(); });
        showReport(copy.report);
        m_fileName = copy.fileName;
        m_knownPath = copy.fileName;
        m_known = copy.known;
        Modified = 1;
        // Kept as this instance's own copy before the old one goes.
        if (const zor::SaveResult kept = writeRecoveryNow()) {
            orphan.drop();
        } else {
            orphan.release();
            recoveryFailed(kept.reason());
        }
        restored = true;
    }
    return restored;
}
