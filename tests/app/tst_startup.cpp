// The command line of the real program, and German where Qt's translation
// is missing.

#include "app/commandline.h"
#include "tests/support/scripteddialogs.h"

#include "tests/support/testfiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {

using zortest::Run;

// The program keeps its recovery copies in the user's data folder; the tests
// give it one of their own, so nothing is left in (or offered from) the real one.
QString dataHome()
{
    static QTemporaryDir dir;
    return dir.path();
}

// Starts the installed-to-be program; without a display unless asked for one.
Run runProgram(const QStringList &args, bool withDisplay = false, const QString &workDir = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    if (withDisplay)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return zortest::run(QStringLiteral(ZOR_PROGRAM), args, env, workDir);
}

} // namespace

class TstStartup : public QObject
{
    Q_OBJECT

private slots:
    void parsesOneOptionalFile();
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void refusedCommandLineEndsWithStatus2_data();
    void refusedCommandLineEndsWithStatus2();
    void qtOptionsArePassedOver_data();
    void qtOptionsArePassedOver();
    void refusalIsTheSameWithAndWithoutDisplay_data();
    void refusalIsTheSameWithAndWithoutDisplay();
    void unreadableFileIsNamedRelativeToTheStartFolder_data();
    void unreadableFileIsNamedRelativeToTheStartFolder();
    void newcomerWithoutRootIsToldWhatToDo_data();
    void newcomerWithoutRootIsToldWhatToDo();
    void questionButtonsGermanWithoutTranslation();
};

void TstStartup::parsesOneOptionalFile()
{
    const QString prog = QStringLiteral("zor-quorvane");
    zor::Result<zor::CommandLine> c = zor::parseCommandLine({prog});
    QVERIFY(c);
    QCOMPARE(c->action, zor::CommandLine::Run);
    QVERIFY(c->file.isEmpty());

    c = zor::parseCommandLine({prog, QStringLiteral("Bericht 2024.zor")});
    QVERIFY(c);
    QCOMPARE(c->action, zor::CommandLine::Run);
    QCOMPARE(c->file, QStringLiteral("Bericht 2024.zor"));

    // After "--" a name that starts with a dash is a file, not an option.
    c = zor::parseCommandLine({prog, QStringLiteral("--"), QStringLiteral("--help")});
    QVERIFY(c);
    QCOMPARE(c->action, zor::CommandLine::Run);
    QCOMPARE(c->file, QStringLiteral("--help"));

    c = zor::parseCommandLine({prog, QStringLiteral("-h")});
    QVERIFY(c);
    QCOMPARE(c->action, zor::CommandLine::ShowHelp);
    c = zor::parseCommandLine({prog, QStringLiteral("--version")});
    QVERIFY(c);
    QCOMPARE(c->action, zor::CommandLine::ShowVersion);
    c = zor::parseCommandLine({prog, QStringLiteral("a.zor"), QStringLiteral("b.zor")});
    QVERIFY(!c);
    QVERIFY(c.reason().contains(QStringLiteral("nur eine Datei")));
}

void TstStartup::helpAndVersionNeedNoDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << QStringLiteral("--help");
    QTest::newRow("-h") << QStringLiteral("-h");
    QTest::newRow("--version") << QStringLiteral("--version");
    QTest::newRow("-v") << QStringLiteral("-v");
}

void TstStartup::helpAndVersionNeedNoDisplay()
{
    QFETCH(QString, option);
    const Run r = runProgram({option});
    QVERIFY2(r.finished, "the program did not end");
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    if (option.contains(QLatin1Char('v'))) {
        // The one version number, from the build.
        QCOMPARE(r.out, QStringLiteral("zor-quorvane 1.10\n"));
        QCOMPARE(QStringLiteral(ZOR_VERSION), QStringLiteral("1.10"));
    } else {
        QCOMPARE(r.out, zor::commandLineHelp());
        QVERIFY(r.out.startsWith(QStringLiteral("Aufruf: zor-quorvane [Optionen] [Datei]\n")));
        QVERIFY(r.out.contains(QString::fromUtf8("zeigt diese Hilfe an")));
        QVERIFY(r.out.contains(QStringLiteral("--version")));
    }
}

void TstStartup::refusedCommandLineEndsWithStatus2_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("named");
    QTest::addColumn<bool>("withDisplay");
    QTest::newRow("two files") << QStringList{QStringLiteral("eins.zor"),
                                              QStringLiteral("zwei.zor")}
                               << QStringList{QStringLiteral("eins.zor"),
                                              QStringLiteral("zwei.zor")}
                               << false;
    QTest::newRow("unknown long option") << QStringList{QStringLiteral("--drucken")}
                                         << QStringList{QStringLiteral("--drucken")} << true;
    QTest::newRow("unknown long option, no display")
            << QStringList{QStringLiteral("--drucken")} << QStringList{QStringLiteral("--drucken")}
            << false;
    QTest::newRow("unknown short option")
            << QStringList{QStringLiteral("-x"), QStringLiteral("a.zor")}
            << QStringList{QStringLiteral("-x")} << true;
    QTest::newRow("unknown short option, no display")
            << QStringList{QStringLiteral("-x"), QStringLiteral("a.zor")}
            << QStringList{QStringLiteral("-x")} << false;
    QTest::newRow("unknown option after a Qt option, no display")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb"),
                           QStringLiteral("--nope")}
            << QStringList{QStringLiteral("--nope")} << false;
    QTest::newRow("Qt option without its value, no display")
            << QStringList{QStringLiteral("a.zor"), QStringLiteral("-platform")}
            << QStringList{QStringLiteral("-platform"), QStringLiteral("Wert")} << false;
    QTest::newRow("two files between Qt options, no display")
            << QStringList{QStringLiteral("-style"), QStringLiteral("fusion"),
                           QStringLiteral("eins.zor"), QStringLiteral("--reverse"),
                           QStringLiteral("zwei.zor")}
            << QStringList{QStringLiteral("eins.zor"), QStringLiteral("zwei.zor")} << false;
}

void TstStartup::refusedCommandLineEndsWithStatus2()
{
    // Refused before any window is opened, so without a display too.
    QFETCH(QStringList, args);
    QFETCH(QStringList, named);
    QFETCH(bool, withDisplay);
    const Run r = runProgram(args, withDisplay);
    QVERIFY2(r.finished, "the program did not end");
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QString());
    // Qt may add a line of its own (about the runtime folder); ours names the program.
    const QStringList lines = r.err.split(QLatin1Char('\n'));
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [](const QString &l) {
                             return l.startsWith(QStringLiteral("zor-quorvane: "));
                         }),
             qPrintable(r.err));
    for (const QString &n : named)
        QVERIFY2(r.err.contains(n), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("zor-quorvane --help")), qPrintable(r.err));
}

void TstStartup::qtOptionsArePassedOver_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("file");
    const auto l = [](std::initializer_list<const char *> items) {
        QStringList r;
        for (const char *i : items)
            r << QString::fromUtf8(i);
        return r;
    };
    QTest::newRow("platform before the file")
            << l({"-platform", "offscreen", "b.zor"}) << QStringLiteral("b.zor");
    QTest::newRow("two dashes") << l({"--platform", "xcb", "--style", "fusion", "b.zor"})
                                << QStringLiteral("b.zor");
    QTest::newRow("values after =")
            << l({"-style=fusion", "--stylesheet=a.qss", "b.zor"}) << QStringLiteral("b.zor");
    QTest::newRow("X11's own") << l({"-display", ":3", "-name", "zq", "-nograb", "b.zor"})
                               << QStringLiteral("b.zor");
    QTest::newRow("window's own") << l(
            {"b.zor", "-qwindowgeometry", "800x600", "-title", "T", "-reverse"})
                                  << QStringLiteral("b.zor");
    QTest::newRow("a value that looks like a file") << l({"-platformtheme", "x.zor"}) << QString();
    QTest::newRow("Qt takes its options after -- too")
            << l({"--", "-platform", "offscreen", "-b.zor"}) << QStringLiteral("-b.zor");
}

void TstStartup::qtOptionsArePassedOver()
{
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    args.prepend(QStringLiteral("zor-quorvane"));
    const zor::Result<zor::CommandLine> c = zor::parseCommandLine(args);
    QVERIFY2(c, qPrintable(c.reason()));
    QCOMPARE(c->action, zor::CommandLine::Run);
    QCOMPARE(c->file, file);
    // "=" belongs only to the options Qt reads that way.
    args << QStringLiteral("-platform=offscreen");
    const zor::Result<zor::CommandLine> refused = zor::parseCommandLine(args);
    QVERIFY(!refused);
    QVERIFY2(refused.reason().contains(QStringLiteral("-platform=offscreen")),
             qPrintable(refused.reason()));
}

void TstStartup::refusalIsTheSameWithAndWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--drucken")} << 2;
    QTest::newRow("help after a Qt option")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb"),
                           QStringLiteral("--help")}
            << 0;
    QTest::newRow("version with a style")
            << QStringList{QStringLiteral("-style=fusion"), QStringLiteral("-v")} << 0;
    QTest::newRow("option of Qt's written with =")
            << QStringList{QStringLiteral("-platform=offscreen")} << 2;
}

void TstStartup::refusalIsTheSameWithAndWithoutDisplay()
{
    // Without a display Qt cannot start a window; the answer must not depend
    // on that.
    QFETCH(QStringList, args);
    QFETCH(int, status);
    const Run without = runProgram(args, false);
    const Run with = runProgram(args, true);
    QVERIFY2(without.finished && with.finished, "the program did not end");
    QCOMPARE(without.exitCode, status);
    QCOMPARE(with.exitCode, status);
    QCOMPARE(without.out, with.out);
    // Only our own lines: nothing of Qt's about a missing display.
    const auto ours = [](const QString &err) {
        QStringList lines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf(
                [](const QString &l) { return l.startsWith(QLatin1String("QStandardPaths")); });
        return lines;
    };
    QCOMPARE(ours(without.err), ours(with.err));
    if (status == 2)
        QVERIFY2(without.err.startsWith(QStringLiteral("zor-quorvane: ")), qPrintable(without.err));
    else
        QVERIFY2(!without.out.isEmpty() && without.err.isEmpty(), qPrintable(without.err));
}

void TstStartup::unreadableFileIsNamedRelativeToTheStartFolder_data()
{
    QTest::addColumn<QStringList>("before"); // what stands before the file's name
    QTest::addColumn<bool>("withDisplay");
    QTest::newRow("the file alone") << QStringList() << true;
    // Qt's options are Qt's: the platform named is the one the window comes
    // up on (there is no display), and the file after them is still opened.
    QTest::newRow("after Qt's options, no display")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                           QStringLiteral("-style"), QStringLiteral("fusion"),
                           QStringLiteral("--reverse")}
            << false;
}

void TstStartup::unreadableFileIsNamedRelativeToTheStartFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Meldungen"))));
    // The window stays open with a new report after saying so; read what the
    // program wrote to stderr, then end it.
    QFETCH(QStringList, before);
    QFETCH(bool, withDisplay);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(var));
    if (withDisplay)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.filePath(QStringLiteral("Meldungen")));
    p.start(QStringLiteral(ZOR_PROGRAM), before + QStringList{QStringLiteral("fehlt.zor")});
    QVERIFY(p.waitForStarted());
    const QString expected = dir.filePath(QStringLiteral("Meldungen/fehlt.zor"));
    QString err;
    QElapsedTimer clock;
    clock.start();
    while (!err.contains(QLatin1Char('\n')) && clock.elapsed() < 30000
           && p.state() == QProcess::Running) {
        p.waitForReadyRead(1000);
        err += QString::fromUtf8(p.readAllStandardError());
    }
    const bool stillRunning = p.state() == QProcess::Running;
    p.kill();
    p.waitForFinished();
    QVERIFY2(err.contains(QString::fromUtf8("\u201e") + expected + QString::fromUtf8("\u201c")),
             qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("existiert nicht")), qPrintable(err));
    QVERIFY2(stillRunning, "the program ended instead of showing a new report");
}

void TstStartup::newcomerWithoutRootIsToldWhatToDo_data()
{
    QTest::addColumn<QStringList>("command"); // in the checkout's tools/
    QTest::addColumn<QStringList>("notInstalled");
    QTest::addColumn<bool>("withSudo"); // a sudo that refuses, as for a user not in sudoers
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("named"); // the packages the message names
    const QStringList none;
    QTest::newRow("run-program, a build tool missing, no sudo")
            << QStringList{QStringLiteral("run-program")}
            << QStringList{QStringLiteral("cmake"), QStringLiteral("xvfb")} << false << 1
            << QStringList{QStringLiteral("cmake")};
    QTest::newRow("run-program needs no test tools")
            << QStringList{QStringLiteral("install-deps"), QStringLiteral("--program")}
            << QStringList{QStringLiteral("xvfb"), QStringLiteral("lintian"),
                           QStringLiteral("cups-daemon")}
            << false << 0 << none;
    QTest::newRow("run-tests, build and test tools missing, no sudo")
            << QStringList{QStringLiteral("run-tests")}
            << QStringList{QStringLiteral("g++"), QStringLiteral("xvfb"), QStringLiteral("lintian")}
            << false << 1
            << QStringList{QStringLiteral("g++"), QStringLiteral("xvfb"),
                           QStringLiteral("lintian")};
    QTest::newRow("sanitizer run, clang missing, no sudo")
            << QStringList{QStringLiteral("run-tests"), QStringLiteral("--sanitize")}
            << QStringList{QStringLiteral("clang")} << false << 1
            << QStringList{QStringLiteral("clang")};
    QTest::newRow("run-program, sudo refuses")
            << QStringList{QStringLiteral("run-program")} << QStringList{QStringLiteral("cmake")}
            << true << 1 << QStringList{QStringLiteral("cmake")};
}

void TstStartup::newcomerWithoutRootIsToldWhatToDo()
{
    // The README's two commands on a fresh Debian, by a user who is not root:
    // the packages the machine lacks are read from a copy of its own package
    // database with some left out, and the commands run as "nobody".
    QFETCH(QStringList, command);
    QFETCH(QStringList, notInstalled);
    QFETCH(bool, withSudo);
    QFETCH(int, status);
    QFETCH(QStringList, named);
    const bool root = ::geteuid() == 0;
    const QString runuser = QStandardPaths::findExecutable(QStringLiteral("runuser"));
    if (root && runuser.isEmpty())
        QSKIP("runuser is not installed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                      | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                      | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), open));
    const QString checkout = dir.filePath(QStringLiteral("checkout"));
    for (const char *sub : {"checkout", "checkout/tools", "dpkg", "bin"}) {
        QVERIFY(QDir().mkpath(dir.filePath(QString::fromLatin1(sub))));
        QVERIFY(QFile::setPermissions(dir.filePath(QString::fromLatin1(sub)), open));
    }
    // The scripts as they are checked in, with their modes.
    for (const char *tool : {"run-program", "run-tests", "install-deps"}) {
        const QString to = checkout + QStringLiteral("/tools/") + QString::fromLatin1(tool);
        QVERIFY(QFile::copy(QStringLiteral(ZOR_SOURCE_DIR "/tools/") + QString::fromLatin1(tool),
                            to));
        QVERIFY2(QFileInfo(to).isExecutable(), tool);
        QVERIFY(QFile::setPermissions(to, open));
    }

    // The package database, without the packages this machine is to lack.
    const QByteArray database = zortest::readAll(QStringLiteral("/var/lib/dpkg/status"));
    if (database.isEmpty())
        QSKIP("no Debian package database here");
    QByteArrayList kept;
    QByteArrayList stanzas;
    qsizetype from = 0;
    while (from < database.size()) {
        qsizetype end = database.indexOf("\n\n", from);
        if (end < 0)
            end = database.size();
        stanzas << database.mid(from, end - from);
        from = end + 2;
    }
    int left = 0;
    for (const QByteArray &stanza : stanzas) {
        bool drop = false;
        for (const QString &p : notInstalled)
            drop = drop || stanza.startsWith("Package: " + p.toUtf8() + '\n');
        if (drop)
            ++left;
        else
            kept << stanza;
    }
    QCOMPARE(left, notInstalled.size());
    QVERIFY(zortest::writeAll(dir.filePath(QStringLiteral("dpkg/status")),
                              kept.join("\n\n") + "\n"));
    QVERIFY(QFile::setPermissions(
            dir.filePath(QStringLiteral("dpkg/status")),
            open & ~(QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther)));

    // Only the programs the scripts need, so a sudo of this machine stays
    // out of it; a stand-in where asked for.
    const QString bin = dir.filePath(QStringLiteral("bin"));
    for (const char *program : {"bash", "dirname", "grep", "id", "dpkg-query", "cat", "nproc"}) {
        const QString real = QStandardPaths::findExecutable(QString::fromLatin1(program));
        QVERIFY2(!real.isEmpty(), program);
        QVERIFY(QFile::link(real, bin + QLatin1Char('/') + QString::fromLatin1(program)));
    }
    const QString sudoArgs = dir.filePath(QStringLiteral("sudo.args"));
    if (withSudo) {
        QVERIFY(zortest::writeAll(bin + QStringLiteral("/sudo"),
                                  "#!/bin/sh\nprintf '%s\\n' \"$*\" >> " + sudoArgs.toUtf8()
                                          + "\necho 'nobody is not in the sudoers file.' >&2\n"
                                            "exit 1\n"));
        QVERIFY(QFile::setPermissions(bin + QStringLiteral("/sudo"), open));
        QVERIFY(zortest::writeAll(sudoArgs, ""));
        QVERIFY(QFile::setPermissions(sudoArgs, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                        | QFileDevice::ReadOther
                                                        | QFileDevice::WriteOther));
    }

    QStringList args{QStringLiteral("/usr/bin/env"),
                     QStringLiteral("-i"),
                     QStringLiteral("PATH=") + bin,
                     QStringLiteral("DPKG_ADMINDIR=") + dir.filePath(QStringLiteral("dpkg")),
                     QStringLiteral("HOME=") + dir.path(),
                     checkout + QStringLiteral("/tools/") + command.constFirst()};
    args << command.mid(1);
    QString program = args.takeFirst();
    if (root) {
        args.prepend(program);
        args = QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")}
               + args;
        program = runuser;
    }
    const Run r = zortest::run(program, args, QProcessEnvironment::systemEnvironment(), checkout);
    QVERIFY2(r.finished, qPrintable(r.err));
    const QString said = r.out + r.err;
    QVERIFY2(r.exitCode == status,
             qPrintable(QString::number(r.exitCode) + QLatin1Char(' ') + said));
    if (status == 0) {
        QCOMPARE(said, QString());
        return;
    }
    // Which packages, and what to do.
    const QString list = QStringLiteral("These Debian packages are missing (%1):\n  %2\n")
                                 .arg(named.size())
                                 .arg(named.join(QLatin1Char(' ')));
    QVERIFY2(said.contains(list), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("su -c 'apt-get update && apt-get install "
                                          "--no-install-recommends ")
                           + named.join(QLatin1Char(' ')) + QLatin1Char('\'')),
             qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("run the same command as root")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("adduser ")), qPrintable(said));
    if (withSudo) {
        QVERIFY2(said.contains(QStringLiteral("Installing through sudo did not work.")),
                 qPrintable(said));
        QVERIFY2(zortest::readAll(sudoArgs).startsWith("DEBIAN_FRONTEND=noninteractive apt-get "),
                 qPrintable(said));
    } else {
        QVERIFY2(said.contains(QStringLiteral("This system has no sudo.")), qPrintable(said));
    }
    // Told before anything was tried: nothing was configured or built.
    QVERIFY(!QFileInfo::exists(checkout + QStringLiteral("/build")));
    QVERIFY(!QFileInfo::exists(checkout + QStringLiteral("/build-asan")));
}

void TstStartup::questionButtonsGermanWithoutTranslation()
{
    // This test installs no translator: Qt's standard buttons would be English.
    zortest::dialogs().setScripted(false);
    QStringList texts;
    QTimer::singleShot(0, this, [&texts] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAbstractButton *no = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            texts << b->text().remove(QLatin1Char('&'));
            if (box->buttonRole(b) == QMessageBox::NoRole)
                no = b;
        }
        if (no)
            no->click();
        else
            box->reject();
    });
    const zor::Answer a = zor::Dialogs::real().askYesNoCancel(
            nullptr, QStringLiteral("ZOR-Quorvane"), QStringLiteral("Speichern ?"));
    texts.sort();
    QCOMPARE(texts, (QStringList{QStringLiteral("Abbrechen"), QStringLiteral("Ja"),
                                 QStringLiteral("Nein")}));
    QCOMPARE(a, zor::Answer::No);
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
