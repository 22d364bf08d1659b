// Saving a report to disk: the old file survives every failure.

#include "reportfile/reportwriter.h"
#include "tests/support/cutoffdevice.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zor;

namespace {

Report sample(int masters = 3)
{
    Report r = Report::fresh();
    for (int i = 0; i < FieldCount; ++i)
        r.texts[i] = QStringLiteral("Wert %1 \u00e4").arg(i);
    r.text(Field::Nummer) = QStringLiteral("0815");
    r.counts[2] = {QStringLiteral("4"), QStringLiteral("9")};
    for (int i = 0; i < masters; ++i)
        r.masters << QStringLiteral("Name%1;Vorname;%2").arg(i).arg(i % 10 + 1);
    return r;
}

} // namespace

class TstReportSave : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setSaveDeviceFilter({}); }
    void save_createsAndReplacesTheFile();
    void save_missingFolderOrFolderName_isNotOpened();
    void save_writeProtectedFile_isRefusedEvenForRoot();
    void save_keepsPermissionBits();
    void save_cutOffAtEveryByte_leavesOldFileIntact();
};

void TstReportSave::save_createsAndReplacesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    SaveResult r = saveReport(path, sample(5));
    QCOMPARE(r.outcome, SaveOutcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(sample(5)));

    // A longer old file is replaced entirely, not overwritten in part.
    r = saveReport(path, sample(1));
    QCOMPARE(r.outcome, SaveOutcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(sample(1)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bericht.zor")});
}

void TstReportSave::save_missingFolderOrFolderName_isNotOpened()
{
    QTemporaryDir dir;
    SaveResult r = saveReport(dir.filePath(QStringLiteral("fehlt/bericht.zor")), sample());
    QCOMPARE(r.outcome, SaveOutcome::NotOpened);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("fehlt"))));

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ordner.zor")));
    r = saveReport(dir.filePath(QStringLiteral("ordner.zor")), sample());
    QCOMPARE(r.outcome, SaveOutcome::NotOpened);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ordner.zor"))).isDir());

    QCOMPARE(saveReport(QString(), sample()).outcome, SaveOutcome::NotOpened);
}

void TstReportSave::save_writeProtectedFile_isRefusedEvenForRoot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.zor"));
    const QByteArray old = "der alte Bericht\r\n";
    QVERIFY(zortest::writeAll(path, old));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(isWriteProtected(path));

    const SaveResult r = saveReport(path, sample());
    QCOMPARE(r.outcome, SaveOutcome::NotOpened);
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
    QCOMPARE(saveReport(path, sample()).outcome, SaveOutcome::Saved);
    QCOMPARE(QFileInfo(path).permissions(), before);
    QCOMPARE(zortest::readAll(path), encodeReport(sample()));
}

void TstReportSave::save_cutOffAtEveryByte_leavesOldFileIntact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.zor"));
    const QByteArray old = encodeReport(sample(2));
    QVERIFY(zortest::writeAll(path, old));
    const Report next = sample(4);
    const qint64 size = encodeReport(next).size();
    QVERIFY(size > old.size());

    qint64 limit = 0;
    setSaveDeviceFilter([&limit](QIODevice &target) { return std::make_unique<zortest::CutOffDevice>(target, limit); });
    for (limit = 0; limit < size; ++limit) {
        const SaveResult r = saveReport(path, next);
        QVERIFY2(r.outcome == SaveOutcome::NotWritten, qPrintable(QString::number(limit)));
        QVERIFY(!r.reason.isEmpty());
        QVERIFY2(zortest::readAll(path) == old, qPrintable(QString::number(limit)));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("bericht.zor")});

    // With room for every byte the same path saves.
    limit = size;
    QCOMPARE(saveReport(path, next).outcome, SaveOutcome::Saved);
    QCOMPARE(zortest::readAll(path), encodeReport(next));
}

QTEST_GUILESS_MAIN(TstReportSave)
#include "tst_reportsave.moc"
