// The recovery copy: its format, the folder shared by running instances, and
// a real program process that is killed with SIGKILL, SIGTERM or SIGHUP and
// started again, and the real program under a file-size limit.

#include "app/endsignals.h"
#include "reportfile/recoverycopy.h"
#include "reportfile/recoverystore.h"
#include "tests/support/formfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/smalldisk.h"
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

#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>

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

// A field or a count of the copy at path as it is on disk, or why it is no whole copy.
QString onDisk(const QString &path, const std::function<QString(const zor::Report &)> &part)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("(keine Kopie)");
    const zor::Result<zor::RecoveryCopy> copy = zor::decodeRecovery(zortest::readAll(path));
    return copy ? part(copy->report) : QStringLiteral("(keine ganze Kopie: %1)").arg(copy.reason());
}
QString onDisk(const QString &path, Field field)
{
    return onDisk(path, [field](const zor::Report &r) { return r.text(field); });
}
QString onDisk(const QString &path, int group, int sex)
{
    return onDisk(path, [group, sex](const zor::Report &r) { return r.counts[group][sex]; });
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
// copy is on disk (or, with "saved", saves the report after that; with
// "editing", types a count into the open cell editor after that and does
// not hand it in), says "ready" and waits to be killed. It ends on SIGTERM
// and SIGHUP as the program does.
int childMain(int argc, char *argv[])
{
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString mode = QString::fromLocal8Bit(argv[3]);
    zor::catchEndSignals();
    QApplication app(argc, argv);
    zortest::dialogs().setScripted(true);
    TSDIAppForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    form.startRecovery(folder);
    zor::keepReportAtSessionEnd(form);
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
        if (mode == QLatin1String("editing")) {
            zortest::pages(form)->setCurrentWidget(
                    zortest::child(form, QStringLiteral("Mitglieder")));
            QLineEdit *editor = zortest::editCell(zortest::zahlen(form), 3, 2);
            if (!editor) {
                std::printf("no cell editor\n");
            } else {
                QTest::keyClicks(editor, QStringLiteral("42"));
                if (zortest::zahlen(form)->cellText(3, 2) != QLatin1String("0"))
                    std::printf("handed in\n");
            }
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
    void endSignal_writesTheCopyWithTheOpenCellEditorAndEnds_data();
    void endSignal_writesTheCopyWithTheOpenCellEditorAndEnds();
    void sessionEnd_keepsTheCopyOnlyOfWhatIsUnsaved();
    void store_writesOnItsOwnThread_newestWinsAndRemovingIsFinal();
    void folderFullAtStart_isToldOnceAndUsedOnceThereIsRoom();
    void fileSizeLimitAtStart_doesNotEndTheProgram();
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

void TstRecovery::endSignal_writesTheCopyWithTheOpenCellEditorAndEnds_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM (logout, shutdown)") << int(SIGTERM);
    QTest::newRow("SIGHUP (terminal closed)") << int(SIGHUP);
}

void TstRecovery::endSignal_writesTheCopyWithTheOpenCellEditorAndEnds()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QProcess child;
    // The copy on disk was made before "42" was typed into the cell editor.
    QVERIFY(startChild(child, folder, QStringLiteral("editing")));
    const QStringList before = copiesIn(folder);
    QCOMPARE(before.size(), 1);
    const QString own = QDir(folder).filePath(before[0]);
    QCOMPARE(onDisk(own, 2, zor::Women), QStringLiteral("0"));

    QCOMPARE(::kill(pid_t(child.processId()), signal), 0);
    QVERIFY(child.waitForFinished(10000));
    // Ended by the signal, as whoever sent it expects.
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(child.exitCode(), signal);

    QCOMPARE(copiesIn(folder), before);
    QCOMPARE(onDisk(own, 2, zor::Women), QStringLiteral("42"));
    QCOMPARE(onDisk(own, Field::Ort), QStringLiteral("M\u00fcnster"));
}

void TstRecovery::sessionEnd_keepsTheCopyOnlyOfWhatIsUnsaved()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    auto form = zortest::makeForm();
    form->startRecovery(folder);
    const QString own = form->recoveryCopyPath();

    // A count typed but not handed in is a change: the copy two seconds
    // later holds it.
    ZahlenGrid *grid = zortest::focusGrid(*form);
    QVERIFY(grid);
    QLineEdit *editor = zortest::editCell(grid, 5, 1);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("7"));
    QVERIFY(form->isModified());
    QTRY_COMPARE_WITH_TIMEOUT(onDisk(own, 4, zor::Men), QStringLiteral("7"), 6000);

    // Asked for at once (a logout): what was typed a moment ago is in it.
    QTest::keyClicks(editor, QStringLiteral("8"));
    QVERIFY(form->keepRecoveryCopyNow());
    QCOMPARE(onDisk(own, 4, zor::Men), QStringLiteral("78"));
    QCOMPARE(grid->cellText(5, 1), QStringLiteral("0")); // nothing in the window changed
    QCOMPARE(grid->pendingEdit()->text, QStringLiteral("78"));

    // All of it in a file: no copy is left to be offered.
    form->setModified(false);
    QVERIFY(form->keepRecoveryCopyNow());
    QVERIFY(!QFileInfo::exists(own));
}

void TstRecovery::store_writesOnItsOwnThread_newestWinsAndRemovingIsFinal()
{
    QTemporaryDir dir;
    zor::RecoveryStore store(dir.filePath(QStringLiteral("recovery")));
    QVERIFY(store.setUp());
    zor::RecoveryCopy copy = sampleCopy();
    for (int i = 0; i < 10000; ++i)
        copy.report.masters << QStringLiteral("Meister%1;Vorname;3").arg(i);
    const auto faxOnDisk = [&store] { return onDisk(store.ownCopyPath(), Field::Fax); };

    // Handed over faster than they are written: the newest one ends up on
    // disk, the ones it replaced are never written; every copy read on the
    // way is a whole one.
    std::atomic<int> written{0};
    std::atomic<int> failed{0};
    const auto count = [&](const zor::SaveResult &r) { ++(r ? written : failed); };
    for (int i = 0; i < 200; ++i) {
        copy.report.text(Field::Fax) = QString::number(i);
        store.writeLater(copy, count);
        if (i % 20 == 0 && QFileInfo::exists(store.ownCopyPath()))
            QVERIFY2(!faxOnDisk().startsWith(QStringLiteral("(keine")), qPrintable(faxOnDisk()));
    }
    store.waitForWrites();
    QCOMPARE(faxOnDisk(), QStringLiteral("199"));
    QCOMPARE(failed.load(), 0);
    QVERIFY2(written.load() >= 1 && written.load() < 200, qPrintable(QString::number(written)));

    // Removed while writes wait and run: nothing brings the copy back.
    for (int i = 0; i < 20; ++i)
        store.writeLater(copy, count);
    store.removeOwn();
    QVERIFY(!QFileInfo::exists(store.ownCopyPath()));
    store.waitForWrites();
    QVERIFY(!QFileInfo::exists(store.ownCopyPath()));

    // Written at once (a signal, a logout): newer than the one that waits.
    copy.report.text(Field::Fax) = QStringLiteral("wartet");
    store.writeLater(copy, count);
    copy.report.text(Field::Fax) = QStringLiteral("sofort");
    QVERIFY(store.writeNow(copy));
    store.waitForWrites();
    QCOMPARE(faxOnDisk(), QStringLiteral("sofort"));
}

void TstRecovery::folderFullAtStart_isToldOnceAndUsedOnceThereIsRoom()
{
    ZORTEST_SMALL_DISK(disk, 256 * 1024);
    const QString folder = disk.filePath(QStringLiteral("recovery"));
    QVERIFY(disk.leaveFree(0));
    auto form = zortest::makeForm();
    form->startRecovery(folder);
    QVERIFY(!form->offerRecovery());
    QVERIFY(zortest::dialogs().shown().isEmpty()); // nothing to say before anything is typed

    const auto told = [] {
        int n = 0;
        for (const zortest::ShownDialog &d : zortest::dialogs().shown())
            n += d.text.contains(QStringLiteral("Sicherungskopie")) ? 1 : 0;
        return n;
    };
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("1"));
    QTRY_COMPARE_WITH_TIMEOUT(told(), 1, 6000);
    const QString text = zortest::dialogs().shown().first().text;
    QVERIFY2(text.contains(QStringLiteral("voll")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("n\u00e4chsten \u00c4nderung")), qPrintable(text));

    // Not every two seconds while the disk stays full.
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("2"));
    QTest::qWait(3000);
    QCOMPARE(told(), 1);

    // Room again: the next change is kept.
    disk.freeAgain();
    zortest::typeInto(zortest::field(*form, Field::Fax), QStringLiteral("3"));
    QTRY_COMPARE_WITH_TIMEOUT(onDisk(form->recoveryCopyPath(), Field::Fax), QStringLiteral("123"),
                              6000);
    QCOMPARE(told(), 1);
    form->setModified(false);
}

void TstRecovery::fileSizeLimitAtStart_doesNotEndTheProgram()
{
    // The program as a user starts it, under a file-size limit smaller than
    // the lock file it writes at start.
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral("prlimit"), {QStringLiteral("--fsize=20"), QStringLiteral("--"),
                                              QStringLiteral(ZOR_PROGRAM)});
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(!program.waitForFinished(4000),
             qPrintable(QStringLiteral("ended, signal or code %1: ").arg(program.exitCode())
                        + QString::fromLocal8Bit(program.readAllStandardError())));
    QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);
    QCOMPARE(program.exitCode(), int(SIGTERM));
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
