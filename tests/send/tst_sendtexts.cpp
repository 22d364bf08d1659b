// The texts and addresses of sending, and where the help page is found.

#include "reportfile/report.h"
#include "send/sending.h"

#include "tests/support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstSendTexts : public QObject
{
    Q_OBJECT

private slots:
    void instructionsAreTheSeventeenLines();
    void mailHandOffCarriesMailboxAndSubject();
    void companionStandsBesideTheReport();
    void helpPageFromStartupFolderElseInstalledCopy();
    void helpPageCandidatesCoverRelocatedAndBuildTree();
};

void TstSendTexts::instructionsAreTheSeventeenLines()
{
    // Written out here on their own, so a slip in the program's copy shows.
    const QByteArray expected
            = "Die Quorvane kann jetzt verschickt werden:\n"
              "\n"
              "Beim speichern wurde zusätzlich(und im gleichen Ordner wie die gespeicherte Datei) eine "
              "Datei mit dem Namen Vereinsnummer.zor (z.B.: 0207.zor ) erzeugt.\n"
              "Diese Datei enthält immer die Daten der ZULETZT gespeicherten Datei!\n"
              "Gegebenenfalls brechen Sie den Versand ab und speichern nochmals!\n"
              "Nur diese Datei soll an den ZOR geschickt werden!\n"
              "\n"
              "1.Möglichkeit - Mit Diskette per Post:\n"
              "Explorer starten und die Datei <vereinsnummer.zor> mit gedrückter Maustaste vom Desktop "
              "auf das Laufwerkssymbol: 3.5-Diskette(A) ziehen. Danach kann die Diskette an den ZOR "
              "geschickt werden.\n"
              "\n"
              "2.Möglichkeit: - Als E-mail-Anhang:\n"
              "E-Mail-Programm aufrufen, Nachricht->neue Nachricht auswählen. \n"
              "Die Adresse \"verband@example.org\" in der Adresszeile eingeben. \n"
              "In der Betreff-Zeile \"betreff\" eingeben. \n"
              "Die Datei <vereinsnummer.zor> an die Nachricht anhängen: mit gedrückter Maustaste vom "
              "Desktop auf das E-Mail-Fenster ziehen und dort loslassen, wo beim Cursor ein Pluszeichen "
              "erscheint. Danach Nachricht absenden.\n"
              "\n"
              "Das Mailprogramm sollte jetzt automatisch mit ausgefüllter Adresszeile starten! Wichtig: "
              "Die Datei <vereinsnummer.zor> muss noch angehängt werden !";
    const QString text = zor::sendInstructions(QStringLiteral("verband@example.org"),
                                               QStringLiteral("betreff"));
    QCOMPARE(text.toUtf8(), expected);
    QCOMPARE(text.split(QLatin1Char('\n')).size(), 17);
    QVERIFY(!text.contains(QLatin1Char('\r')));

    // The program's own values: the configured mailbox and the fixed subject.
    QCOMPARE(zor::reportMailbox(), QStringLiteral(ZOR_REPORT_MAILBOX));
    QCOMPARE(zor::reportSubject(), QStringLiteral("quorvane"));
    const QStringList lines = zor::sendInstructions(zor::reportMailbox(), zor::reportSubject())
                                      .split(QLatin1Char('\n'));
    QCOMPARE(lines.at(12), QStringLiteral("Die Adresse \"" ZOR_REPORT_MAILBOX
                                          "\" in der Adresszeile eingeben. "));
    QCOMPARE(lines.at(13), QStringLiteral("In der Betreff-Zeile \"quorvane\" eingeben. "));
}

void TstSendTexts::mailHandOffCarriesMailboxAndSubject()
{
    const QUrl url = zor::mailtoUrl(QStringLiteral("quorvane@kelvarbund.de"),
                                    QStringLiteral("quorvane"));
    QCOMPARE(url.toString(QUrl::FullyEncoded),
             QStringLiteral("mailto:quorvane@kelvarbund.de?subject=quorvane"));

    // A subject with blanks or an ampersand must not spill into other fields.
    const QUrl odd = zor::mailtoUrl(QStringLiteral("a@b.de"), QStringLiteral("x & y=z"));
    QCOMPARE(QUrlQuery(odd).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("x & y=z"));
    QCOMPARE(QUrlQuery(odd).queryItems().size(), 1);

    const QString file = QStringLiteral("/home/kassenwart/Eigene Dateien/0042.zor");
    QCOMPARE(zor::xdgEmailArguments(QStringLiteral("a@b.de"), QStringLiteral("quorvane"), file),
             (QStringList{QStringLiteral("--subject"), QStringLiteral("quorvane"),
                          QStringLiteral("--attach"), file, QStringLiteral("a@b.de")}));
    QCOMPARE(
            zor::xdgEmailArguments(QStringLiteral("a@b.de"), QStringLiteral("quorvane"), QString()),
            (QStringList{QStringLiteral("--subject"), QStringLiteral("quorvane"),
                         QStringLiteral("a@b.de")}));

    const QString told = zor::mailNotStartedText(QStringLiteral("a@b.de"),
                                                 QStringLiteral("quorvane"), file);
    QVERIFY2(told.contains(QStringLiteral("a@b.de")) && told.contains(file)
                     && told.contains(QStringLiteral("\"quorvane\"")),
             qPrintable(told));
}

void TstSendTexts::companionStandsBesideTheReport()
{
    QCOMPARE(zor::companionFilePath(QStringLiteral("/tmp/mein verein/bericht 2024.zor"),
                                    QStringLiteral("0042")),
             QStringLiteral("/tmp/mein verein/0042.zor"));
    // A bare name lies in the current folder.
    QCOMPARE(zor::companionFilePath(QStringLiteral("bericht.zor"), QStringLiteral("0207")),
             QDir::current().filePath(QStringLiteral("0207.zor")));
}

void TstSendTexts::helpPageFromStartupFolderElseInstalledCopy()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString startup = dir.filePath(QStringLiteral("start/zorhelp.htm"));
    const QString missing = dir.filePath(QStringLiteral("nirgends/zorhelp.htm"));
    const QString installed = dir.filePath(QStringLiteral("share/zor-quorvane/zorhelp.htm"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("share/zor-quorvane"))));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("start"))));
    QVERIFY(zortest::writeAll(installed, "<html></html>"));

    QCOMPARE(zor::locateHelpPage(startup, {missing, installed}), installed);
    QVERIFY(zortest::writeAll(startup, "<html></html>"));
    QCOMPARE(zor::locateHelpPage(startup, {missing, installed}), startup);
    QCOMPARE(zor::locateHelpPage(missing, {missing}), QString());
    // A folder that merely bears the name is no page.
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("ordner/zorhelp.htm"))));
    QCOMPARE(zor::locateHelpPage(dir.filePath(QStringLiteral("ordner/zorhelp.htm")), {}),
             QString());
}

void TstSendTexts::helpPageCandidatesCoverRelocatedAndBuildTree()
{
    const QStringList c = zor::helpPageCandidates(
            QStringLiteral("/opt/zor/bin"), {QStringLiteral("/usr/share/zor-quorvane/zorhelp.htm")},
            QStringLiteral("/usr/share/zor-quorvane/zorhelp.htm"));
    QCOMPARE(c, (QStringList{QStringLiteral("/opt/zor/share/zor-quorvane/zorhelp.htm"),
                             QStringLiteral("/opt/zor/bin/share/zor-quorvane/zorhelp.htm"),
                             QStringLiteral("/usr/share/zor-quorvane/zorhelp.htm")}));
}

QTEST_GUILESS_MAIN(TstSendTexts)
#include "tst_sendtexts.moc"
