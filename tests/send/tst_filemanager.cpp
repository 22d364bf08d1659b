// "Ordner öffnen" through the real desktop seam: the file manager asked over
// a session bus of the test's own (a real dbus-daemon, which starts a
// stand-in file manager on demand, as it starts a real one), and the folder
// through xdg-open when no file manager answers.

#include "tests/support/standinprogram.h"
#include "tests/support/testfiles.h"

#include "send/desktophandoff.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

const QString fileManagerName = QStringLiteral("org.freedesktop.FileManager1");

} // namespace

class TstFileManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fileShownSelected_data();
    void fileShownSelected();

private:
    // How the bus's stand-in file manager behaves from now on: "" = there
    // is none, else "shows" or "refuses".
    bool setFileManager(const QString &how);
    QString record() const { return m_dir.filePath(QStringLiteral("shown.txt")); }

    QTemporaryDir m_dir;
    QProcess m_bus;
};

void TstFileManager::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    QVERIFY2(!daemon.isEmpty(), "dbus-daemon is not installed (tools/install-deps installs it)");
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("services"))));
    // A session bus that knows no service but the stand-in: no real file
    // manager of this machine can answer.
    const QString address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    QVERIFY(zortest::writeAll(
            m_dir.filePath(QStringLiteral("session.conf")),
            QStringLiteral(
                    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                    "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                    "<busconfig>\n<type>session</type>\n<listen>%1</listen>\n"
                    "<auth>EXTERNAL</auth>\n<servicedir>%2</servicedir>\n"
                    "<policy context=\"default\"><allow send_destination=\"*\" "
                    "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                    "</policy>\n</busconfig>\n")
                    .arg(address, m_dir.filePath(QStringLiteral("services")))
                    .toUtf8()));
    // Whatever bus the test was started in, this one is the session's now,
    // before anything of Qt's has connected to one.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    m_bus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_bus.start(daemon,
                {QStringLiteral("--config-file=") + m_dir.filePath(QStringLiteral("session.conf")),
                 QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                 QStringLiteral("--print-address=1")});
    QVERIFY2(m_bus.waitForStarted(), qPrintable(m_bus.errorString()));
    QVERIFY2(m_bus.waitForReadyRead(10000), "dbus-daemon did not come up");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void TstFileManager::cleanupTestCase()
{
    // The stand-in ends by itself after its answer; the bus goes by its PID.
    if (m_bus.state() != QProcess::NotRunning) {
        m_bus.terminate();
        if (!m_bus.waitForFinished(5000)) {
            m_bus.kill();
            m_bus.waitForFinished();
        }
    }
}

bool TstFileManager::setFileManager(const QString &how)
{
    const QString service = m_dir.filePath(
            QStringLiteral("services/org.freedesktop.FileManager1.service"));
    QFile::remove(service);
    if (!how.isEmpty()) {
        QString exec = QStringLiteral(ZOR_FILEMANAGER_STANDIN " ") + record();
        if (how == QLatin1String("refuses"))
            exec += QStringLiteral(" --refuse");
        if (!zortest::writeAll(service, (QStringLiteral("[D-BUS Service]\nName=") + fileManagerName
                                         + QStringLiteral("\nExec=") + exec + QLatin1Char('\n'))
                                                .toUtf8()))
            return false;
    }
    // The bus reads its service files again, and an earlier stand-in is gone.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusMessage reload = bus.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig")));
    if (reload.type() == QDBusMessage::ErrorMessage)
        return false;
    return QTest::qWaitFor(
            [&bus] { return !bus.interface()->isServiceRegistered(fileManagerName).value(); },
            10000);
}

void TstFileManager::fileShownSelected_data()
{
    QTest::addColumn<QString>("fileManager");
    QTest::addColumn<int>("xdgOpenExit"); // -1: no xdg-open on PATH
    QTest::addColumn<bool>("askedFileManager");
    QTest::addColumn<bool>("openedFolder");
    QTest::addColumn<bool>("shown");
    QTest::newRow("file manager shows the file") << "shows" << 0 << true << false << true;
    QTest::newRow("file manager refuses, xdg-open shows the folder")
            << "refuses" << 0 << true << true << true;
    QTest::newRow("no file manager, xdg-open shows the folder") << "" << 0 << false << true << true;
    QTest::newRow("no file manager, xdg-open fails") << "" << 4 << false << true << false;
}

void TstFileManager::fileShownSelected()
{
    QFETCH(QString, fileManager);
    QFETCH(int, xdgOpenExit);
    QFETCH(bool, askedFileManager);
    QFETCH(bool, openedFolder);
    QFETCH(bool, shown);
    QVERIFY(setFileManager(fileManager));
    QFile::remove(record());
    zortest::StandInProgram xdgOpen(QStringLiteral("xdg-open"), xdgOpenExit);
    QVERIFY(xdgOpen.isValid());

    // A folder whose name holds what a URL or a command line could misread.
    const QString folder = m_dir.filePath(QString::fromUtf8("Verein's, J\u00fcdo \"Nord\" #1 %20"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("0042.zor"));
    QVERIFY(zortest::writeAll(file, "Bericht\r\n"));

    QObject context;
    std::optional<bool> answer;
    zor::showFileInFolder(zor::DesktopHandOff::current(), file, &context,
                          [&answer](bool s) { answer = s; });
    QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
    QCOMPARE(*answer, shown);

    const QStringList lines = QString::fromUtf8(zortest::readAll(record()))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (askedFileManager) {
        // One URL, which is the file, every character kept.
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith(QLatin1String("file:///")), qPrintable(lines.at(0)));
        QCOMPARE(QUrl(lines.at(0)).toLocalFile(), file);
    } else {
        QVERIFY2(lines.isEmpty(), qPrintable(lines.join(u'|')));
    }
    const QStringList args = xdgOpen.arguments();
    if (openedFolder) {
        QCOMPARE(args.size(), 1);
        QCOMPARE(QUrl(args.at(0)).toLocalFile(), folder);
    } else {
        QVERIFY2(args.isEmpty(), qPrintable(args.join(u'|')));
    }
}

QTEST_MAIN(TstFileManager)
#include "tst_filemanager.moc"
