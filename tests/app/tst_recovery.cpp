// The recovery copy: its format, the folder shared by running instances, and
// a real program process that is killed with SIGKILL and started again.

#include "reportfile/recoverycopy.h"
#include "reportfile/recoverystore.h"
#include "tests/support/formfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testfiles.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>

using zor::Answer;
using zor::Field;

namespace {

zor::RecoveryCopy sampleCopy()
{
    zor::RecoveryCopy c;
    c.report = zor::Report::fresh();
    c.report.text(Field::Vereinsname) = QStringLiteral("Budoverein S\u00fcd \u201eKelvaro\u201c");
    c.report.text(Field::Nummer) = QStringLiteral("12__");
    c.report.text(Field::Ort) = QStringLiteral("  mit Leerzeichen ");
    c.report.counts[3] = {QStringLiteral("5"), QString()}; // a count as typed, even empty
    c.report.masters = {QStringLiteral("M\u00fcller;Anna;3"), QStringLiteral("Zed;Bo;10")};
    c.fileName = QStringLiteral("/home/verein/Quorvane 2027.zor");
    c.known = zor::FileFingerprint::of("alt\r\n", 1234567890123456789LL);
    c.made = QDateTime(QDate(2026, 12, 8), QTime(21, 15, 30, 250));
    return c;
}

QStringList copiesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.zorrec")}, QDir::Files | QDir::Hidden);
}

// What the child process types: a report with unsaved changes.
void typeReport(TSDIAppForm &form)
{
    zortest::typeInto(zortest::field(form, Field::Vereinsname),
                      QStringLiteral("Judoclub Musterstadt"));
    zortest::typeInto(zortest::field(form, Field::Ort), QStringLiteral("M\u00fcnster"));
    zortest::nummer(form)->setText(QStringLiteral("0116"));
    zortest::zahlen(form)->setCellText(2, 1, QStringLiteral("17"));
    zortest::zahlen(form)->setCellText(7, 2, QStringLiteral("4"));
    zortest::setMasters(form, {QStringLiteral("Kano;Jigoro;9")});
}

// The program as a child process: types a report, waits until its recovery
// copy is on disk (or, with "saved", saves the report after that), says
// "ready" and waits to be killed.
int childMain(int argc, char *argv[])
{
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString mode = QString::fromLocal8Bit(argv[3]);
    QApplication app(argc, argv);
    zortest::dialogs().setScripted(true);
    TSDIAppForm form;
    form.show();
    form.startRecovery(folder);
    form.setCurrentFileName(QDir(folder).filePath(QStringLiteral("../verein.zor")));
    typeReport(form);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!QFileInfo::exists(form.recoveryCopyPath()))
            return;
        poll.stop();
        if (mode == QLatin1String("saved")) {
            zortest::fillComplete(form);
            zortest::trigger(form, "FileSave1");
            if (form.isModified() || QFileInfo::exists(form.recoveryCopyPath()))
                std::printf("not saved\n");
        }
        std::printf("ready\n");
        std::fflush(stdout);
    });
    poll.start(50);
    return app.exec();
}

} // namespace

class TstRecovery : public QObject
{
    Q_OBJECT

private:
    // Starts the child; true once it said "ready".
    bool startChild(QProcess &child, const QString &folder, const QString &mode)
    {
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--recovery-child"), folder, mode});
        if (!child.waitForStarted(10000))
            return false;
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains("ready\n") && clock.elapsed() < 20000) {
            child.waitForReadyRead(200);
            out += child.readAllStandardOutput();
        }
        return out == "ready\n";
    }
    static void kill9(QProcess &child)
    {
        child.kill(); // SIGKILL: no cleanup of any kind
        child.waitForFinished(10000);
    }

private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    void copy_roundTripsEverythingAsTyped();
    void copy_damaged_isRefusedWithoutACrash();
    void store_instancesKeepTheirOwnCopies();
    void killedProgram_comesBackWholeAfterRestart();
    void secondInstance_doesNotTakeARunningOnesCopy();
    void savedBeforeTheKill_nothingIsAsked();
    void damagedCopy_isReportedAndRemoved();
    void verwerfen_removesTheCopy();
    void copyIsWrittenAfterAChange_andGoneAfterNewSaveOrExit();
};

void TstRecovery::copy_roundTripsEverythingAsTyped()
{
    const zor::RecoveryCopy c = sampleCopy();
    const zor::Result<zor::RecoveryCopy> back = zor::decodeRecovery(zor::encodeRecovery(c));
    QVERIFY2(back, qPrintable(back.reason()));
    QVERIFY(*back == c);

    // A copy of a report never saved has no file and no fingerprint.
    zor::RecoveryCopy fresh;
    fresh.report = zor::Report::fresh();
    fresh.made = QDateTime::currentDateTime();
    const zor::Result<zor::RecoveryCopy> backFresh = zor::decodeRecovery(
            zor::encodeRecovery(fresh));
    QVERIFY(backFresh);
    QVERIFY(backFresh->fileName.isEmpty());
    QVERIFY(!backFresh->known.valid);
    QCOMPARE(backFresh->report, fresh.report);
}

void TstRecovery::copy_damaged_isRefusedWithoutACrash()
{
    const QByteArray good = zor::encodeRecovery(sampleCopy());
    QList<QByteArray> bad = {QByteArray(),
                             "{}",
                             "[1,2]",
                             "kein JSON",
                             good.left(good.size() / 2),
                             QByteArray(good).replace("zor-quorvane-recovery", "etwas-anderes"),
                             QByteArray(good).replace("\"version\":1", "\"version\":7"),
                             QByteArray(good).replace("\"fields\":[", "\"fields\":[\"zu viel\","),
                             QByteArray(good).replace("\"masters\":[", "\"masters\":[3,")};
    // Every prefix of a whole copy, as a write cut short would leave it.
    for (int n = 0; n < good.size(); n += 7)
        bad << good.left(n);
    for (const QByteArray &b : bad) {
        const zor::Result<zor::RecoveryCopy> out = zor::decodeRecovery(b);
        QVERIFY2(!out, b.constData());
        QVERIFY(!out.reason().isEmpty());
    }
}

void TstRecovery::store_instancesKeepTheirOwnCopies()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    auto a = std::make_unique<zor::RecoveryStore>(folder);
    zor::RecoveryStore b(folder);
    QVERIFY(a->isActive() && b.isActive());
    QVERIFY(a->ownCopyPath() != b.ownCopyPath());
    QVERIFY(a->write("a"));
    QVERIFY(b.write("b"));

    // Private to the user.
    QCOMPARE(int(QFileInfo(folder).permissions() & 0x0777),
             int(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser) & 0x0777);
    QCOMPARE(QFileInfo(a->ownCopyPath()).permissions()
                     & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                        | QFileDevice::WriteOther),
             QFileDevice::Permissions());

    // While both run, neither offers the other's copy.
    QVERIFY(b.claimOrphans().isEmpty());
    QVERIFY(a->claimOrphans().isEmpty());

    // A ends without removing its copy (as a crash would): B finds it, once.
    const QString aCopy = a->ownCopyPath();
    a.reset();
    QList<zor::RecoveryStore::Orphan> found = b.claimOrphans();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].path, aCopy);
    zor::RecoveryStore c(folder);
    QVERIFY(c.claimOrphans().isEmpty()); // B holds it while it asks
    found[0].drop();
    QVERIFY(!QFileInfo::exists(aCopy));
    QCOMPARE(copiesIn(folder), QStringList{QFileInfo(b.ownCopyPath()).fileName()});
}

void TstRecovery::killedProgram_comesBackWholeAfterRestart()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QProcess child;
    QVERIFY(startChild(child, folder, QStringLiteral("typed")));
    kill9(child);
    QCOMPARE(copiesIn(folder).size(), 1);

    auto form = zortest::makeForm();
    form->startRecovery(folder);
    zortest::dialogs().primeAnswer(Answer::Yes); // "Wiederherstellen"
    QVERIFY(form->offerRecovery());

    QCOMPARE(zortest::dialogs().shown().size(), 1);
    const zortest::ShownDialog &q = zortest::dialogs().shown().first();
    QCOMPARE(q.kind, QStringLiteral("choice"));
    QCOMPARE(q.buttons,
             (QStringList{QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")}));
    QVERIFY2(q.text.contains(QDir::toNativeSeparators(
                     QDir(folder).filePath(QStringLiteral("../verein.zor")))),
             qPrintable(q.text));
    QVERIFY(q.text.contains(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));

    QCOMPARE(zortest::field(*form, Field::Vereinsname)->text(),
             QStringLiteral("Judoclub Musterstadt"));
    QCOMPARE(zortest::field(*form, Field::Ort)->text(), QStringLiteral("M\u00fcnster"));
    QCOMPARE(zortest::nummer(*form)->text(), QStringLiteral("0116"));
    QCOMPARE(zortest::zahlen(*form)->cellText(2, 1), QStringLiteral("17"));
    QCOMPARE(zortest::zahlen(*form)->cellText(7, 2), QStringLiteral("4"));
    QCOMPARE(zortest::sumLabel(*form, "AllSum")->text(), QStringLiteral("21"));
    QCOMPARE(form->currentReport().masters, QStringList{QStringLiteral("Kano;Jigoro;9")});
    QCOMPARE(form->currentFileName(), QDir(folder).filePath(QStringLiteral("../verein.zor")));
    QVERIFY(form->isModified());
    zortest::idle(*form);
    QCOMPARE(zortest::statusText(*form), QStringLiteral("mod"));

    // The old copy is gone; the window keeps its own from now on.
    QCOMPARE(copiesIn(folder), QStringList{QFileInfo(form->recoveryCopyPath()).fileName()});
    form->setModified(false);
}

void TstRecovery::secondInstance_doesNotTakeARunningOnesCopy()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QProcess child;
    QVERIFY(startChild(child, folder, QStringLiteral("typed")));

    auto form = zortest::makeForm();
    form->startRecovery(folder);
    QVERIFY(!form->offerRecovery());
    QVERIFY(zortest::dialogs().shown().isEmpty());
    QCOMPARE(copiesIn(folder).size(), 1);

    kill9(child);
    auto later = zortest::makeForm();
    later->startRecovery(folder);
    zortest::dialogs().primeAnswer(Answer::Yes);
    QVERIFY(later->offerRecovery());
    QCOMPARE(zortest::field(*later, Field::Vereinsname)->text(),
             QStringLiteral("Judoclub Musterstadt"));
    later->setModified(false);
}

void TstRecovery::savedBeforeTheKill_nothingIsAsked()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QProcess child;
    QVERIFY(startChild(child, folder, QStringLiteral("saved")));
    kill9(child);
    QVERIFY(copiesIn(folder).isEmpty());
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("verein.zor"))));

    auto form = zortest::makeForm();
    form->startRecovery(folder);
    QVERIFY(!form->offerRecovery());
    QVERIFY(zortest::dialogs().shown().isEmpty());
}

void TstRecovery::damagedCopy_isReportedAndRemoved()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(folder));
    const QString damaged = QDir(folder).filePath(QStringLiteral("999999-abc.zorrec"));
    QVERIFY(zortest::writeAll(damaged, zor::encodeRecovery(sampleCopy()).left(40)));

    auto form = zortest::makeForm();
    form->startRecovery(folder);
    QVERIFY(!form->offerRecovery());
    QCOMPARE(zortest::dialogs().shown().size(), 1);
    QVERIFY(zortest::dialogs().shown().first().text.contains(QStringLiteral("besch\u00e4digt")));
    QVERIFY(!QFileInfo::exists(damaged));
    QVERIFY(zortest::field(*form, Field::Vereinsname)->text().isEmpty());
    QVERIFY(!form->isModified());
}

void TstRecovery::verwerfen_removesTheCopy()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QVERIFY(QDir().mkpath(folder));
    const QString left = QDir(folder).filePath(QStringLiteral("999999-def.zorrec"));
    QVERIFY(zortest::writeAll(left, zor::encodeRecovery(sampleCopy())));

    auto form = zortest::makeForm();
    form->startRecovery(folder);
    zortest::dialogs().primeAnswer(Answer::No); // "Verwerfen"
    QVERIFY(!form->offerRecovery());
    QCOMPARE(zortest::dialogs().shown().size(), 1);
    QVERIFY(zortest::dialogs().shown().first().text.contains(QStringLiteral("Quorvane 2027.zor")));
    QVERIFY(!QFileInfo::exists(left));
    QVERIFY(zortest::field(*form, Field::Vereinsname)->text().isEmpty());
    QVERIFY(form->currentFileName().isEmpty());
    QVERIFY(!form->isModified());
}

void TstRecovery::copyIsWrittenAfterAChange_andGoneAfterNewSaveOrExit()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    auto form = zortest::makeForm();
    form->startRecovery(folder);
    const QString own = form->recoveryCopyPath();

    // Nothing is written while nothing changed.
    QTest::qWait(2500);
    QVERIFY(!QFileInfo::exists(own));

    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("0815"));
    QVERIFY(!QFileInfo::exists(own)); // not at once
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(own), 6000);
    const zor::Result<zor::RecoveryCopy> copy = zor::decodeRecovery(zortest::readAll(own));
    QVERIFY(copy);
    QCOMPARE(copy->report.text(Field::Fax), QStringLiteral("0815"));

    // "Nein" to New's question drops the changes, and with them the copy.
    zortest::dialogs().primeAnswer(Answer::No);
    zortest::trigger(*form, "FileNew1");
    QVERIFY(!QFileInfo::exists(own));

    // Saved: gone at once.
    typeReport(*form);
    zortest::fillComplete(*form);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(own), 5000); // the two-second timer wrote it
    zortest::dialogs().primeFile(dir.filePath(QStringLiteral("bericht.zor")));
    zortest::trigger(*form, "FileSaveAs1");
    QVERIFY(!form->isModified());
    QVERIFY(!QFileInfo::exists(own));

    // A normal end ("&Nein" to the close query): gone.
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("1"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(own), 5000); // the two-second timer wrote it
    zortest::dialogs().primeAnswer(Answer::No);
    QVERIFY(form->close());
    QVERIFY(!QFileInfo::exists(own));
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--recovery-child") == 0)
        return childMain(argc, argv);
    QApplication app(argc, argv);
    TstRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
