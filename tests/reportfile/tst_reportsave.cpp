// Saving a report to disk: the old file survives every failure.

#include "reportfile/reportwriter.h"
#include "tests/support/cutoffdevice.h"
#include "tests/support/samplereport.h"
#include "tests/support/smalldisk.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zor;
using zortest::sampleReport;

namespace {

// What a save came to, for comparing in one line.
enum class Outcome { Saved, NotOpened, NotWritten };
Outcome outcomeOf(const SaveResult &r)
{
    if (r)
        return Outcome::Saved;
    return r.failure().kind == SaveFailure::NotOpened ? Outcome::NotOpened : Outcome::NotWritten;
}

// Bytes of a report with n masters: sizes on both sides of Qt's 16 KB buffer.
QByteArray bytesOf(int masters)
{
    return encodeReport(sampleReport(masters)).value();
}

// Files in a folder, hidden ones (a left-over temporary file) included.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The child process of the file size tests: the kernel refuses every byte
// past `limit` with EFBIG (and would send SIGXFSZ, which the writer must not
// die of). Prints the outcome and the reason.
int fileSizeChild(const char *limit, const char *masters, const char *path)
{
    struct rlimit rl;
    rl.rlim_cur = rl.rlim_max = rlim_t(QByteArray(limit).toLongLong());
    if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
        return 3;
    const SaveResult r = saveReport(QString::fromLocal8Bit(path),
                                    sampleReport(QByteArray(masters).toInt()));
    std::printf("%d\n%s\n", int(outcomeOf(r)), r.reason().toUtf8().constData());
    return 0;
}

// A disk whose flush to the platter is watched: every sync is recorded with
// what the file held then, and the failAt-th of a save (1: the temporary
// file, 2: the folder after the rename; 0: none) answers with err. With
// failAt -1 (the child of the interrupted save) the first sync says "written"
// and waits there to be killed: every byte is in the temporary file, before
// the flush and the rename.
class WatchedSync : public SaveDevice
{
public:
    WatchedSync(int errorNumber, int failAtCall)
        : m_err(errorNumber)
        , m_failAt(failAtCall)
    { }
    struct Synced
    {
        bool folder = false;
        qint64 size = 0;
    };
    QList<Synced> synced;

    int sync(int fd) override
    {
        if (m_failAt < 0) {
            std::printf("written\n");
            std::fflush(stdout);
            for (;;)
                ::pause();
        }
        struct stat st = {};
        ::fstat(fd, &st);
        synced.append(Synced{S_ISDIR(st.st_mode), qint64(st.st_size)});
        return synced.size() == m_failAt ? m_err : SaveDevice::sync(fd);
    }

private:
    const int m_err;
    const int m_failAt;
    StandIn<SaveDevice> m_inPlace{*this};
};

int stalledSaveChild(const char *path)
{
    WatchedSync disk(0, -1);
    (void)saveReport(QString::fromLocal8Bit(path), sampleReport(3));
    return 1;
}

} // namespace

class TstReportSave : public QObject
{
    Q_OBJECT

private slots:
    void save_createsAndReplacesTheFile();
    void save_missingFolderOrFolderName_isNotOpened();
    void save_writeProtectedFile_isRefusedEvenForRoot();
    void save_keepsPermissionBits();
    void save_cutOffAtEveryByte_leavesOldFileIntact();
    void save_fileSizeLimit_isReportedAndLeavesOldFile_data();
    void save_fileSizeLimit_isReportedAndLeavesOldFile();
    void save_fullDisk_isReportedAndLeavesOldFile_data();
    void save_fullDisk_isReportedAndLeavesOldFile();
    void save_flushGoesThroughTheSeamAndItsFailureKeepsTheOldFile_data();
    void save_flushGoesThroughTheSeamAndItsFailureKeepsTheOldFile();
    void save_killedMidway_itsLeftoverGoesAtTheNextSave();
    void save_linksDevicesAndFolders();
    void read_refusesPipesDevicesAndHugeFiles();
    void fingerprint_seesOnlyRealChanges();
};

void TstReportSave::save_createsAndReplacesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    SaveResult r = saveReport(path, sampleReport(5));
    QCOMPARE(outcomeOf(r), Outcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(sampleReport(5)).value());

    // A longer old file is replaced entirely, not overwritten in part.
    r = saveReport(path, sampleReport(1));
    QCOMPARE(outcomeOf(r), Outcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(sampleReport(1)).value());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bericht.zor")});
}

void TstReportSave::save_missingFolderOrFolderName_isNotOpened()
{
    QTemporaryDir dir;
    SaveResult r = saveReport(dir.filePath(QStringLiteral("fehlt/bericht.zor")), sampleReport());
    QCOMPARE(outcomeOf(r), Outcome::NotOpened);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("fehlt"))));

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ordner.zor")));
    r = saveReport(dir.filePath(QStringLiteral("ordner.zor")), sampleReport());
    QCOMPARE(outcomeOf(r), Outcome::NotOpened);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ordner.zor"))).isDir());

    QCOMPARE(outcomeOf(saveReport(QString(), sampleReport())), Outcome::NotOpened);
}

void TstReportSave::save_writeProtectedFile_isRefusedEvenForRoot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.zor"));
    const QByteArray old = "der alte Bericht\r\n";
    QVERIFY(zortest::writeAll(path, old));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup
                                                | QFileDevice::ReadOther));
    QVERIFY(isWriteProtected(path));

    const SaveResult r = saveReport(path, sampleReport());
    QCOMPARE(outcomeOf(r), Outcome::NotOpened);
    QCOMPARE(zortest::readAll(path), old);
    // Owner, group and other bits; the "user" bits describe the caller, not the file.
    QCOMPARE(int(QFileInfo(path).permissions()) & 0x7077,
             int(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("alt.zor")});

    QVERIFY(!isWriteProtected(dir.filePath(QStringLiteral("neu.zor"))));
}

void TstReportSave::save_keepsPermissionBits()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.zor"));
    QVERIFY(zortest::writeAll(path, "x\r\n"));
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                       | QFileDevice::WriteGroup;
    QVERIFY(QFile::setPermissions(path, perms));
    const auto before = QFileInfo(path).permissions();
    QCOMPARE(outcomeOf(saveReport(path, sampleReport())), Outcome::Saved);
    QCOMPARE(QFileInfo(path).permissions(), before);
    QCOMPARE(zortest::readAll(path), encodeReport(sampleReport()).value());
}

void TstReportSave::save_cutOffAtEveryByte_leavesOldFileIntact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    const QByteArray old = encodeReport(sampleReport(2)).value();
    QVERIFY(zortest::writeAll(path, old));
    const Report next = sampleReport(4);
    const qint64 size = encodeReport(next).value().size();
    QVERIFY(size > old.size());

    zortest::FillingDisk disk;
    for (disk.limit = 0; disk.limit < size; ++disk.limit) {
        const SaveResult r = saveReport(path, next);
        QVERIFY2(outcomeOf(r) == Outcome::NotWritten, qPrintable(QString::number(disk.limit)));
        QVERIFY(!r.reason().isEmpty());
        QVERIFY2(zortest::readAll(path) == old, qPrintable(QString::number(disk.limit)));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("bericht.zor")});

    // With room for every byte the same path saves.
    disk.limit = size;
    QCOMPARE(outcomeOf(saveReport(path, next)), Outcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(next).value());
}

void TstReportSave::save_fileSizeLimit_isReportedAndLeavesOldFile_data()
{
    QTest::addColumn<int>("masters");
    QTest::addColumn<qint64>("limit");
    const int big = 1200; // about 26 KB, more than Qt's write buffer
    const qint64 size = bytesOf(big).size();
    QVERIFY(size > 16384 + 4096);
    for (const qint64 limit : {qint64(0), qint64(1), qint64(600), qint64(4096), qint64(16383),
                               qint64(16384), qint64(16385), qint64(20000), size - 1})
        QTest::addRow("%d masters, limit %lld", big, limit) << big << limit;
    QTest::addRow("small report, limit 100") << 3 << qint64(100);
}

void TstReportSave::save_fileSizeLimit_isReportedAndLeavesOldFile()
{
    QFETCH(int, masters);
    QFETCH(qint64, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    const QByteArray old = "der Bericht vom letzten Jahr\r\n";
    QVERIFY(zortest::writeAll(path, old));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--file-size-child"), QString::number(limit),
                 QString::number(masters), path});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit); // not killed by SIGXFSZ
    QCOMPARE(child.exitCode(), 0);
    const QStringList out
            = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    QVERIFY(out.size() >= 2);
    QCOMPARE(out[0].toInt(), int(Outcome::NotWritten));
    QVERIFY2(out[1].contains(QStringLiteral("gr\u00f6\u00dfer")), qPrintable(out[1]));
    QCOMPARE(zortest::readAll(path), old);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("bericht.zor")});
}

void TstReportSave::save_fullDisk_isReportedAndLeavesOldFile_data()
{
    QTest::addColumn<int>("masters");
    QTest::addColumn<qint64>("free");
    for (const int masters : {3, 1200, 4000}) {
        const qint64 size = bytesOf(masters).size();
        for (const qint64 free : {qint64(0), qint64(4096), qint64(16384), size - 4096}) {
            if (free >= 0 && free < size)
                QTest::addRow("%lld bytes of %lld free", free, size) << masters << free;
        }
    }
}

void TstReportSave::save_fullDisk_isReportedAndLeavesOldFile()
{
    QFETCH(int, masters);
    QFETCH(qint64, free);
    ZORTEST_SMALL_DISK(disk, 1024 * 1024);
    const QString folder = disk.filePath(QStringLiteral("verein"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/bericht.zor");
    const QByteArray old = bytesOf(2);
    QVERIFY(zortest::writeAll(path, old));
    QVERIFY(disk.leaveFree(free));

    const SaveResult r = saveReport(path, sampleReport(masters));
    QCOMPARE(outcomeOf(r), Outcome::NotWritten);
    QCOMPARE(r.reason(), QStringLiteral("Der Datentr\u00e4ger ist voll."));
    QCOMPARE(zortest::readAll(path), old);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("bericht.zor")});
}

void TstReportSave::save_flushGoesThroughTheSeamAndItsFailureKeepsTheOldFile_data()
{
    QTest::addColumn<int>("err");
    QTest::addColumn<int>("failAt"); // 1: the temporary file's flush, 2: the folder's; 0: none
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("reason");
    const QString full = QStringLiteral("Der Datentr\u00e4ger ist voll.");
    QTest::newRow("flushed") << 0 << 0 << true << QString();
    QTest::newRow("file: EIO") << EIO << 1 << false << QStringLiteral("Ein-/Ausgabefehler");
    QTest::newRow("file: ENOSPC") << ENOSPC << 1 << false << full;
    QTest::newRow("file: EDQUOT") << EDQUOT << 1 << false << full;
    // Renamed already: a folder that cannot be flushed (a network share) undoes nothing.
    QTest::newRow("folder: EIO") << EIO << 2 << true << QString();
}

void TstReportSave::save_flushGoesThroughTheSeamAndItsFailureKeepsTheOldFile()
{
    QFETCH(int, err);
    QFETCH(int, failAt);
    QFETCH(bool, saved);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    const QByteArray old = bytesOf(2);
    QVERIFY(zortest::writeAll(path, old));
    const QByteArray next = bytesOf(1200);

    WatchedSync disk(err, failAt);
    const SaveResult r = saveReport(path, sampleReport(1200));
    QCOMPARE(outcomeOf(r), saved ? Outcome::Saved : Outcome::NotWritten);
    QVERIFY2(r.reason().contains(reason), qPrintable(r.reason()));
    QCOMPARE(zortest::readAll(path), saved ? next : old);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("bericht.zor")});

    // The temporary file is flushed with every byte in it, before the rename;
    // then the folder, so the rename itself is durable.
    QVERIFY(!disk.synced.isEmpty());
    QVERIFY(!disk.synced[0].folder);
    QCOMPARE(disk.synced[0].size, qint64(next.size()));
    QCOMPARE(disk.synced.size(), failAt == 1 ? 1 : 2);
    QVERIFY(failAt == 1 || disk.synced[1].folder);
}

void TstReportSave::save_killedMidway_itsLeftoverGoesAtTheNextSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    QVERIFY(zortest::writeAll(path, bytesOf(2)));
    const QRegularExpression temporary(QStringLiteral("^\\.bericht\\.zor-[A-Za-z0-9]{6}$"));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--stalled-save-child"), path});
    QVERIFY(child.waitForStarted(10000));
    QByteArray said;
    QElapsedTimer clock;
    clock.start();
    while (!said.contains("written") && clock.elapsed() < 20000
           && child.state() == QProcess::Running) {
        child.waitForReadyRead(200);
        said += child.readAllStandardOutput();
    }
    QVERIFY2(said.contains("written"), said.constData());
    const QStringList inWork = filesIn(dir.path()).filter(temporary);
    QCOMPARE(inWork.size(), 1);

    // While its save still runs, its temporary file is no leftover.
    QCOMPARE(outcomeOf(saveReport(path, sampleReport(1))), Outcome::Saved);
    QVERIFY(QFileInfo::exists(dir.filePath(inWork[0])));

    child.kill();
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(zortest::readAll(path), bytesOf(1)); // the killed save changed nothing

    // Names that only look alike stay: not six of mkstemp's letters, another
    // file's, a folder, a link, another user's file.
    const QString elsewhere = dir.filePath(QStringLiteral("anderswo.txt"));
    QStringList staying = {
            QStringLiteral(".bericht.zor-12345"), QStringLiteral(".bericht.zor-ab_cde"),
            QStringLiteral(".bericht.zor-AbCdEfG"), QStringLiteral(".anderer.zor-AbC123")};
    for (const QString &name : staying)
        QVERIFY(zortest::writeAll(dir.filePath(name), "x"));
    QVERIFY(zortest::writeAll(elsewhere, "bleibt\n"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral(".bericht.zor-Ordner")));
    QVERIFY(QFile::link(elsewhere, dir.filePath(QStringLiteral(".bericht.zor-Link01"))));
    staying << QStringLiteral("anderswo.txt") << QStringLiteral(".bericht.zor-Link01")
            << QStringLiteral("bericht.zor");
    if (::geteuid() == 0) {
        const QString foreign = dir.filePath(QStringLiteral(".bericht.zor-Fremd1"));
        QVERIFY(zortest::writeAll(foreign, "x"));
        QCOMPARE(::chown(QFile::encodeName(foreign).constData(), 4242, 4242), 0);
        staying << QStringLiteral(".bericht.zor-Fremd1");
    }
    staying.sort();

    QCOMPARE(outcomeOf(saveReport(path, sampleReport(4))), Outcome::Saved);
    QCOMPARE(zortest::readAll(path), bytesOf(4));
    QCOMPARE(filesIn(dir.path()), staying);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral(".bericht.zor-Ordner"))).isDir());
    QCOMPARE(zortest::readAll(elsewhere), QByteArray("bleibt\n"));
}

void TstReportSave::save_linksDevicesAndFolders()
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("echt.zor"));
    const QString link = dir.filePath(QStringLiteral("0042.zor"));
    QVERIFY(zortest::writeAll(real, "fremd\r\n"));
    QVERIFY(QFile::link(real, link));

    // A name the program made up is never written through a link.
    SaveResult r = saveReport(link, sampleReport(), Links::Refuse);
    QCOMPARE(outcomeOf(r), Outcome::NotOpened);
    QVERIFY(r.reason().contains(QStringLiteral("Verkn\u00fcpfung")));
    QCOMPARE(zortest::readAll(real), QByteArray("fremd\r\n"));
    QVERIFY(QFileInfo(link).isSymLink());

    // A file the user chose may be a link: the link stays, its file is replaced.
    r = saveReport(link, sampleReport());
    QCOMPARE(outcomeOf(r), Outcome::Saved);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(zortest::readAll(real), encodeReport(sampleReport()).value());

    // Devices and pipes are refused, never replaced.
    for (const QString &special : {QStringLiteral("/dev/null"), QStringLiteral("/dev/zero")}) {
        struct stat before;
        QCOMPARE(::stat(special.toLocal8Bit().constData(), &before), 0);
        for (const Links links : {Links::Follow, Links::Refuse}) {
            r = saveReport(special, sampleReport(), links);
            QCOMPARE(outcomeOf(r), Outcome::NotOpened);
            QVERIFY(r.reason().contains(QStringLiteral("keine gew\u00f6hnliche Datei")));
        }
        struct stat after;
        QCOMPARE(::stat(special.toLocal8Bit().constData(), &after), 0);
        QVERIFY(S_ISCHR(after.st_mode));
        QCOMPARE(after.st_ino, before.st_ino);
    }
    const QString fifo = dir.filePath(QStringLiteral("rohr.zor"));
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0644), 0);
    r = saveReport(fifo, sampleReport());
    QCOMPARE(outcomeOf(r), Outcome::NotOpened);
    struct stat st;
    QCOMPARE(::stat(fifo.toLocal8Bit().constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(QStringList(filesIn(dir.path())).filter(QStringLiteral("-")),
             QStringList()); // no temporary left
}

void TstReportSave::read_refusesPipesDevicesAndHugeFiles()
{
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();

    // A pipe with no writer would block a plain open for ever.
    const QString fifo = dir.filePath(QStringLiteral("rohr.zor"));
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0644), 0);
    ReadResult r = readFileBounded(fifo);
    QVERIFY(!r);
    QVERIFY(r.reason().contains(QStringLiteral("keine gew\u00f6hnliche Datei")));

    // /dev/zero never ends; it must not be read at all.
    r = readFileBounded(QStringLiteral("/dev/zero"));
    QVERIFY(!r);

    r = readFileBounded(dir.path());
    QVERIFY(!r);
    QVERIFY(r.reason().contains(QStringLiteral("Ordner")));

    // One byte over the limit is refused, the limit itself is read (a sparse file).
    const QString huge = dir.filePath(QStringLiteral("riesig.zor"));
    QFile f(huge);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(MaxReportFileSize + 1));
    f.close();
    r = readFileBounded(huge);
    QVERIFY(!r);
    QVERIFY(r.reason().contains(QStringLiteral("64 MB")));
    QVERIFY(QFile::resize(huge, MaxReportFileSize));
    r = readFileBounded(huge);
    QVERIFY(r);
    QCOMPARE(r->bytes.size(), MaxReportFileSize);

    // A small limit shows the same on a file that is just too long.
    const QString small = dir.filePath(QStringLiteral("klein.zor"));
    QVERIFY(zortest::writeAll(small, "12345"));
    QVERIFY(!readFileBounded(small, 4));
    QCOMPARE(readFileBounded(small, 5)->bytes, QByteArray("12345"));

    QVERIFY(!readFileBounded(dir.filePath(QStringLiteral("fehlt.zor"))));
    QVERIFY2(clock.elapsed() < 20000, "reading a pipe or device must not wait");
}

void TstReportSave::fingerprint_seesOnlyRealChanges()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.zor"));
    QVERIFY(zortest::writeAll(path, "eins\r\n"));
    const FileFingerprint fp = FileFingerprint::ofFile(path);
    QVERIFY(fp.valid);
    QVERIFY(!changedSince(path, fp));

    // Written again with the same bytes (a new time): no change.
    QTest::qSleep(20);
    QVERIFY(zortest::writeAll(path, "eins\r\n"));
    QVERIFY(!changedSince(path, fp));

    // Same size and the old time put back (a tool that restores times, or
    // both within one second of a coarse file system): the bytes tell.
    QVERIFY(zortest::writeAll(path, "Eins\r\n"));
    const struct timespec times[2] = {
            {0, UTIME_OMIT}, {time_t(fp.mtimeNs / 1000000000), long(fp.mtimeNs % 1000000000)}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    QCOMPARE(FileFingerprint::ofFile(path).mtimeNs, fp.mtimeNs);
    QVERIFY(changedSince(path, fp));

    // Same size, other bytes; then another size.
    QVERIFY(zortest::writeAll(path, "zwei\r\n"));
    QVERIFY(changedSince(path, fp));
    QVERIFY(zortest::writeAll(path, "drei und mehr\r\n"));
    QVERIFY(changedSince(path, fp));

    // A file that has gone, or a fingerprint of nothing, protects nothing.
    QVERIFY(QFile::remove(path));
    QVERIFY(!changedSince(path, fp));
    QVERIFY(!changedSince(path, FileFingerprint()));
}

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--file-size-child") == 0)
        return fileSizeChild(argv[2], argv[3], argv[4]);
    if (argc == 3 && qstrcmp(argv[1], "--stalled-save-child") == 0)
        return stalledSaveChild(argv[2]);
    QCoreApplication app(argc, argv);
    TstReportSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_reportsave.moc"
