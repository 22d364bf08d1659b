// The .deb as cpack builds it, checked as a distribution would: its control
// fields, its documentation, and lintian where it is installed.

#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using zortest::Run;

Run run(const QString &program, const QStringList &args, const QString &workDir = {})
{
    return zortest::run(program, args, QProcessEnvironment::systemEnvironment(), workDir, 240000);
}

} // namespace

class TstPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void controlFieldsAsADistributionWantsThem();
    void carriesManualPageCopyrightAndChangelog();
    void membersListReadersComeAsAPluginOfTheirOwn();
    void lintianFindsNoErrorAndNoWarning();

private:
    QString field(const QString &name) const;

    QTemporaryDir m_out;
    QString m_deb;
    QStringList m_files;
};

void TstPackage::initTestCase()
{
    QVERIFY(m_out.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
        QSKIP("dpkg-deb is not installed: no .deb can be built here");
    const Run r = run(QStringLiteral(ZOR_CPACK_COMMAND),
                      {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                       QStringLiteral(ZOR_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                       m_out.path()},
                      m_out.path());
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    const QStringList debs = QDir(m_out.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = QDir(m_out.path()).filePath(debs.constFirst());
    QVERIFY2(debs.constFirst().startsWith(QStringLiteral("zor-quorvane_" ZOR_VERSION "_")),
             qPrintable(debs.constFirst()));

    const Run list = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
    QVERIFY2(list.exitCode == 0, qPrintable(list.err));
    for (const QString &line : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_files << line.section(QLatin1Char(' '), -1).mid(1); // "./usr/..." -> "/usr/..."
}

QString TstPackage::field(const QString &name) const
{
    return run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, name}).out.trimmed();
}

void TstPackage::controlFieldsAsADistributionWantsThem()
{
    QCOMPARE(field(QStringLiteral("Package")), QStringLiteral("zor-quorvane"));
    QCOMPARE(field(QStringLiteral("Version")), QStringLiteral(ZOR_VERSION));
    // Without Qt's translations its own dialogs would speak English.
    const QStringList depends
            = field(QStringLiteral("Depends")).split(QRegularExpression(QStringLiteral(",\\s*")));
    QVERIFY2(depends.contains(QStringLiteral("qt6-translations-l10n")),
             qPrintable(depends.join(u',')));
    QVERIFY2(depends.contains(QStringLiteral("qt6-qpa-plugins")), qPrintable(depends.join(u',')));
    // libcups is loaded only when printing, so no shared-library scan names it.
    QVERIFY2(depends.filter(QRegularExpression(QStringLiteral("^libcups2( |$)"))).size() == 1,
             qPrintable(depends.join(u',')));
    // The desktop hand-offs, and the window native on a Wayland session.
    const QStringList recommends = field(QStringLiteral("Recommends"))
                                           .split(QRegularExpression(QStringLiteral(",\\s*")));
    for (const char *p : {"xdg-utils", "qt6-wayland"})
        QVERIFY2(recommends.contains(QString::fromLatin1(p)), qPrintable(recommends.join(u',')));
    // The program's keepers answer for the package, not the report mailbox.
    const QString maintainer = field(QStringLiteral("Maintainer"));
    const QRegularExpressionMatch m = QRegularExpression(
                                              QStringLiteral("^[^<>]+ <([^@<>\\s]+@[^@<>\\s]+)>$"))
                                              .match(maintainer);
    QVERIFY2(m.hasMatch(), qPrintable(maintainer));
    QVERIFY2(m.captured(1) != QStringLiteral(ZOR_REPORT_MAILBOX), qPrintable(maintainer));
    // Every line of the description fits a terminal.
    for (const QString &line : field(QStringLiteral("Description")).split(QLatin1Char('\n')))
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

void TstPackage::carriesManualPageCopyrightAndChangelog()
{
    for (const char *path :
         {"/usr/bin/zor-quorvane", "/usr/share/man/man1/zor-quorvane.1.gz",
          "/usr/share/doc/zor-quorvane/copyright", "/usr/share/doc/zor-quorvane/changelog.gz",
          "/usr/share/zor-quorvane/zorhelp.htm", "/usr/share/applications/zor-quorvane.desktop"})
        QVERIFY2(m_files.contains(QString::fromLatin1(path)), path);
    // The system's triggers build the desktop's caches; a package carries none.
    for (const QString &f : m_files)
        QVERIFY2(!f.endsWith(QLatin1String("mime.cache"))
                         && !f.endsWith(QLatin1String("mimeinfo.cache"))
                         && !f.startsWith(QLatin1String("/usr/local/")),
                 qPrintable(f));
}

void TstPackage::membersListReadersComeAsAPluginOfTheirOwn()
{
    // Where the program looks for it, from its own folder.
    const QString plugin = QDir::cleanPath(
            QStringLiteral("/usr/bin/" ZOR_PLUGIN_DIR_FROM_BIN "/" ZOR_MEMBER_LIST_PLUGIN));
    QVERIFY2(m_files.contains(plugin), qPrintable(plugin));
    // The libraries the plugin needs are still what the package depends on.
    const QString depends = field(QStringLiteral("Depends"));
    for (const char *package : {"libcsv3", "libquazip1-qt6-1", "libcups2"})
        QVERIFY2(depends.contains(QRegularExpression(
                         QStringLiteral("(^|, )%1( |,|$)").arg(QLatin1String(package)))),
                 qPrintable(package + QStringLiteral(": ") + depends));

    // The program itself starts without them: only the plugin links them.
    const QString readelf = QStandardPaths::findExecutable(QStringLiteral("readelf"));
    if (readelf.isEmpty())
        QSKIP("readelf is not installed");
    const QTemporaryDir root;
    QVERIFY(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, root.path()}).exitCode
            == 0);
    const auto needed = [&](const QString &file) {
        const Run r = run(readelf, {QStringLiteral("-d"), root.path() + file});
        QStringList libs;
        const QRegularExpression line(QStringLiteral("\\(NEEDED\\).*\\[(.*)\\]"));
        for (const QString &l : r.out.split(QLatin1Char('\n')))
            if (const QRegularExpressionMatch m = line.match(l); m.hasMatch())
                libs << m.captured(1);
        return libs;
    };
    const QStringList program = needed(QStringLiteral("/usr/bin/zor-quorvane"));
    const QStringList readers = needed(plugin);
    QVERIFY2(program.contains(QStringLiteral("libQt6Widgets.so.6")),
             qPrintable(program.join(u' ')));
    for (const char *lib : {"libcsv.so.3", "libquazip1-qt6.so.1"}) {
        QVERIFY2(!program.contains(QLatin1String(lib)), qPrintable(program.join(u' ')));
        QVERIFY2(readers.contains(QLatin1String(lib)), qPrintable(readers.join(u' ')));
    }
    for (const QString &lib : program)
        QVERIFY2(!lib.startsWith(QLatin1String("libQt6Core5Compat")), qPrintable(lib));
}

void TstPackage::lintianFindsNoErrorAndNoWarning()
{
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        QSKIP("lintian is not installed");
    const Run r = run(lintian,
                      {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), m_deb});
    QStringList complaints;
    for (const QString &line : r.out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("E: ")) || line.startsWith(QLatin1String("W: ")))
            complaints << line;
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join(QLatin1Char('\n'))));
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
}

QTEST_GUILESS_MAIN(TstPackage)
#include "tst_package.moc"
