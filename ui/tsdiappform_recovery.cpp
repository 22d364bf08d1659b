// The recovery copy: what was typed survives a crash, a kill or a lost session.

#include "ui/tsdiappform.h"

#include "reportfile/recoverycopy.h"
#include "reportfile/recoverystore.h"
#include "ui/dialogs.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QDir>
#include <QListWidget>
#include <QLocale>
#include <QTimer>

namespace {

// Soon enough that little is lost, late enough that typing is not slowed.
constexpr int RecoveryDelayMs = 2000;

const QString Caption = QStringLiteral("ZOR-Quorvane");

} // namespace

void TSDIAppForm::startRecovery(const QString &folder)
{
    m_recovery = std::make_unique<zor::RecoveryStore>(folder);
    if (!m_recovery->isActive())
        return;
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setSingleShot(true);
        m_recoveryTimer->setInterval(RecoveryDelayMs);
        connect(m_recoveryTimer, &QTimer::timeout, this, [this] {
            if (Modified)
                writeRecoveryCopy();
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

QString TSDIAppForm::recoveryCopyPath() const
{
    return m_recovery ? m_recovery->ownCopyPath() : QString();
}

bool TSDIAppForm::writeRecoveryCopy()
{
    if (!m_recovery || !m_recovery->isActive())
        return false;
    zor::RecoveryCopy copy;
    copy.report = currentReport();
    copy.fileName = m_fileName;
    if (m_knownPath == m_fileName)
        copy.known = m_known;
    copy.made = QDateTime::currentDateTime();
    const zor::SaveResult written = m_recovery->write(zor::encodeRecovery(copy));
    if (written) {
        m_recoveryFailureShown = false;
        return true;
    }
    // Said once, not every two seconds while the disk stays full.
    if (!m_recoveryFailureShown) {
        m_recoveryFailureShown = true;
        zor::Dialogs::current().message(
                this, Caption,
                QStringLiteral(
                        "Die Sicherungskopie Ihrer Eingaben konnte nicht geschrieben werden:\n%1\n\n"
                        "Bitte speichern Sie den Bericht, sobald es geht.")
                        .arg(written.reason()));
    }
    return false;
}

void TSDIAppForm::discardRecovery()
{
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    if (m_recovery)
        m_recovery->removeOwn();
}

bool TSDIAppForm::offerRecovery()
{
    if (!m_recovery || !m_recovery->isActive())
        return false;
    QList<zor::RecoveryStore::Orphan> orphans = m_recovery->claimOrphans();
    bool restored = false;
    for (zor::RecoveryStore::Orphan &orphan : orphans) {
        if (restored) {
            // One report at a time: the others wait for the next start.
            orphan.release();
            continue;
        }
        const zor::Result<zor::FileContents> file = zor::readFileBounded(orphan.path);
        const zor::Result<zor::RecoveryCopy> decoded = file ? zor::decodeRecovery(file->bytes)
                                                            : file.failure();
        if (!decoded) {
            zor::Dialogs::current().message(
                    this, Caption,
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
        const QString which = copy.fileName.isEmpty()
                                      ? QStringLiteral("neuer Bericht")
                                      : QStringLiteral("\u201e%1\u201c")
                                                .arg(QDir::toNativeSeparators(copy.fileName));
        const int choice = zor::Dialogs::current().choose(
                this, Caption,
                QStringLiteral(
                        "ZOR-Quorvane wurde beim letzten Mal nicht ordnungsgem\u00e4\u00df beendet. "
                        "Von Ihren ungespeicherten Eingaben gibt es eine Sicherungskopie:\n\n"
                        "Bericht: %1\nStand: %2 Uhr\n\nSoll sie wiederhergestellt werden?")
                        .arg(which, QLocale().toString(copy.made.toLocalTime(),
                                                       QStringLiteral("dd.MM.yyyy HH:mm"))),
                {QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")});
        if (choice != 0) {
            orphan.drop();
            continue;
        }
        guarded([this] { ResetReport(); });
        showReport(copy.report);
        m_fileName = copy.fileName;
        m_knownPath = copy.fileName;
        m_known = copy.known;
        Modified = 1;
        // Kept as this instance's own copy before the old one goes.
        if (writeRecoveryCopy())
            orphan.drop();
        else
            orphan.release();
        restored = true;
    }
    return restored;
}
