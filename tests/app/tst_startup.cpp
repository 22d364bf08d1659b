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
    void unreadableFileIsNamedRelativeToTheStartFolder();
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
    QTest::newRow("unknown short option")
            << QStringList{QStringLiteral("-x"), QStringLiteral("a.zor")}
            << QStringList{QStringLiteral("-x")} << true;
}

void TstStartup::refusedCommandLineEndsWithStatus2()
{
    // Refused before any window is opened; a second file even without a
    // display (an unknown option may be one of Qt's, which Qt takes first).
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

void TstStartup::unreadableFileIsNamedRelativeToTheStartFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Meldungen"))));
    // The window stays open with a new report after saying so; read what the
    // program wrote to stderr, then end it.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.filePath(QStringLiteral("Meldungen")));
    p.start(QStringLiteral(ZOR_PROGRAM), {QStringLiteral("fehlt.zor")});
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
