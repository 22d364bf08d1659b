// What `cmake --install` puts on the desktop: the entry, the MIME type, the
// icon and the help page, checked with the desktop's own tools.

#include "entry/fieldchecks.h"
#include "send/sending.h"

#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString output; // stdout and stderr together
};

Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) {
        r.output = QStringLiteral("did not finish: ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitCode();
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

// Key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    const QStringList lines = QString::fromUtf8(zortest::readAll(path)).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

} // namespace

class TstDesktopFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopEntryPassesValidatorAndNamesOurType();
    void liveInstallUpdatesDesktopDatabasesStagedOneDoesNot();
    void mimeTypeGlobsZorFiles();
    void iconIsOurOwn();
    void helpPageInstalledWhereTheProgramLooks();

private:
    QString installed(const QString &rel) const { return m_prefix.filePath(rel); }

    QTemporaryDir m_prefix;
};

void TstDesktopFiles::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    const Run r = run(QStringLiteral(ZOR_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(ZOR_BUILD_DIR),
                       QStringLiteral("--prefix"), m_prefix.path(), QStringLiteral("--component"),
                       QStringLiteral("desktop")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.output));
}

void TstDesktopFiles::desktopEntryPassesValidatorAndNamesOurType()
{
    const QString entry = installed(QStringLiteral("share/applications/zor-quorvane.desktop"));
    QVERIFY2(QFileInfo::exists(entry), qPrintable(entry));

    const auto keys = desktopEntry(entry);
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("zor-quorvane %f"));
    QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("zor-quorvane"));
    QCOMPARE(keys.value(QStringLiteral("MimeType")), QStringLiteral("application/x-zor-quorvane;"));
    QVERIFY(keys.value(QStringLiteral("Categories"))
                    .split(QLatin1Char(';'))
                    .contains(QStringLiteral("Office")));
    QVERIFY(!keys.value(QStringLiteral("Comment[de]")).isEmpty());

    const QString validator = QStandardPaths::findExecutable(
            QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    const Run r = run(validator, {entry});
    QVERIFY2(r.exitCode == 0 && r.output.trimmed().isEmpty(), qPrintable(r.output));
}

void TstDesktopFiles::liveInstallUpdatesDesktopDatabasesStagedOneDoesNot()
{
    // Installed to a live prefix, .zor files are known at once, not as text/plain.
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        QSKIP("the desktop database tools are not installed");
    QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/mime/mime.cache"))));
    const QByteArray globs = zortest::readAll(installed(QStringLiteral("share/mime/globs2")));
    QVERIFY2(globs.contains(":application/x-zor-quorvane:*.zor"), globs.constData());
    const QByteArray handlers = zortest::readAll(
            installed(QStringLiteral("share/applications/mimeinfo.cache")));
    QVERIFY2(handlers.contains("application/x-zor-quorvane=zor-quorvane.desktop;"),
             handlers.constData());

    // Staged through DESTDIR, as a package build does: no caches in the stage.
    QTemporaryDir stage;
    QVERIFY(stage.isValid());
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), stage.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZOR_CMAKE_COMMAND),
            {QStringLiteral("--install"), QStringLiteral(ZOR_BUILD_DIR), QStringLiteral("--prefix"),
             QStringLiteral("/opt/zor"), QStringLiteral("--component"), QStringLiteral("desktop")});
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAll().constData());
    QVERIFY(QFileInfo::exists(
            stage.filePath(QStringLiteral("opt/zor/share/mime/packages/zor-quorvane.xml"))));
    QVERIFY(!QFileInfo::exists(stage.filePath(QStringLiteral("opt/zor/share/mime/mime.cache"))));
    QVERIFY(!QFileInfo::exists(
            stage.filePath(QStringLiteral("opt/zor/share/applications/mimeinfo.cache"))));
}

void TstDesktopFiles::mimeTypeGlobsZorFiles()
{
    const QString xml = installed(QStringLiteral("share/mime/packages/zor-quorvane.xml"));
    QVERIFY2(QFileInfo::exists(xml), qPrintable(xml));

    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        QSKIP("xmllint is not installed");
    const Run lint = run(xmllint, {QStringLiteral("--noout"), xml});
    QVERIFY2(lint.exitCode == 0 && lint.output.isEmpty(), qPrintable(lint.output));

    // The database tool reads the package as the desktop will; the type the
    // desktop entry names must come out with the *.zor glob.
    const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (updater.isEmpty())
        QSKIP("update-mime-database is not installed");
    const Run upd = run(updater, {installed(QStringLiteral("share/mime"))});
    QVERIFY2(upd.exitCode == 0, qPrintable(upd.output));
    const QByteArray globs = zortest::readAll(installed(QStringLiteral("share/mime/globs2")));
    QVERIFY2(globs.contains(":application/x-zor-quorvane:*.zor"), globs.constData());
    const QByteArray types = zortest::readAll(installed(QStringLiteral("share/mime/types")));
    QVERIFY(types.split('\n').contains("application/x-zor-quorvane"));
}

void TstDesktopFiles::iconIsOurOwn()
{
    const QString svg = installed(
            QStringLiteral("share/icons/hicolor/scalable/apps/zor-quorvane.svg"));
    QVERIFY2(QFileInfo::exists(svg), qPrintable(svg));
    // Bitmaps for desktops that want them, each in the folder of its own size.
    for (const int size : {48, 256}) {
        const QByteArray png = zortest::readAll(installed(
                QStringLiteral("share/icons/hicolor/%1x%1/apps/zor-quorvane.png").arg(size)));
        QVERIFY2(png.startsWith("\x89PNG\r\n\x1a\n") && png.size() > 24,
                 qPrintable(QString::number(size)));
        const auto be32 = [&png](int at) {
            return (uchar(png[at]) << 24) | (uchar(png[at + 1]) << 16) | (uchar(png[at + 2]) << 8)
                   | uchar(png[at + 3]);
        };
        QCOMPARE(int(be32(16)), size); // IHDR width
        QCOMPARE(int(be32(20)), size); // IHDR height
    }
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        QSKIP("xmllint is not installed");
    const Run lint = run(xmllint, {QStringLiteral("--noout"), svg});
    QVERIFY2(lint.exitCode == 0 && lint.output.isEmpty(), qPrintable(lint.output));
}

void TstDesktopFiles::helpPageInstalledWhereTheProgramLooks()
{
    const QString page = installed(QStringLiteral("share/zor-quorvane/zorhelp.htm"));
    QVERIFY2(QFileInfo::exists(page), qPrintable(page));

    // A program installed under this prefix, started from a folder without a
    // help page, finds the installed one; so does one run from the build tree.
    const QString noPage = m_prefix.filePath(QStringLiteral("leer/zorhelp.htm"));
    QCOMPARE(zor::locateHelpPage(noPage, zor::helpPageCandidates(installed(QStringLiteral("bin")),
                                                                 {}, QString())),
             page);
    const QString buildCopy = QStringLiteral(ZOR_BUILD_DIR "/share/zor-quorvane/zorhelp.htm");
    QCOMPARE(zor::locateHelpPage(
                     noPage, zor::helpPageCandidates(QStringLiteral(ZOR_BUILD_DIR), {}, QString())),
             QFileInfo(buildCopy).absoluteFilePath());

    // UTF-8 as it declares, with the configured mailbox filled in.
    const QByteArray bytes = zortest::readAll(page);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    QVERIFY(!utf8.hasError());
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(text.contains(QStringLiteral(ZOR_REPORT_MAILBOX)));
    QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("@[A-Z_]+@"))),
             "a placeholder was left unfilled");

    // One example address, the one the program's own e-mail hint shows; no
    // other address besides the report mailbox.
    const QString example = QStringLiteral("vorstand@judoclub-musterstadt.de");
    QVERIFY(zor::emailHintText().contains(example));
    QSet<QString> addresses;
    auto it = QRegularExpression(QStringLiteral("[A-Za-z0-9._-]+@[A-Za-z0-9.-]+\\.[a-z]+"))
                      .globalMatch(text);
    while (it.hasNext())
        addresses.insert(it.next().captured(0));
    QCOMPARE(addresses, (QSet<QString>{example, QStringLiteral(ZOR_REPORT_MAILBOX)}));

    // The copy the README links for readers of the sources is this very page.
    if (QStringLiteral(ZOR_REPORT_MAILBOX) == QStringLiteral("quorvane@kelvarbund.de"))
        QVERIFY2(
                zortest::readAll(QStringLiteral(ZOR_SOURCE_DIR "/docs/zorhelp.htm")) == bytes,
                "docs/zorhelp.htm is out of date: copy build/share/zor-quorvane/zorhelp.htm there");

    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        QSKIP("xmllint is not installed");
    const Run lint = run(xmllint, {QStringLiteral("--html"), QStringLiteral("--noout"), page});
    QVERIFY2(lint.exitCode == 0 && lint.output.isEmpty(), qPrintable(lint.output));
}

QTEST_GUILESS_MAIN(TstDesktopFiles)
#include "tst_desktopfiles.moc"
