#include "send/sending.h"

#include "reportfile/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrlQuery>

namespace zor {

QString reportMailbox()
{
    return QStringLiteral(ZOR_REPORT_MAILBOX);
}

QString reportSubject()
{
    return QStringLiteral("quorvane");
}

QString sendInstructions(const QString &mailbox, const QString &subject)
{
    const QString quote = QStringLiteral("\"");
    const QStringList lines = {
            QStringLiteral("Die Quorvane kann jetzt verschickt werden:"),
            QString(),
            QString::fromUtf8("Beim speichern wurde zus\u00e4tzlich(und im gleichen Ordner wie die "
                              "gespeicherte Datei) eine Datei mit dem Namen Vereinsnummer.zor "
                              "(z.B.: 0207.zor ) erzeugt."),
            QString::fromUtf8(
                    "Diese Datei enth\u00e4lt immer die Daten der ZULETZT gespeicherten Datei!"),
            QStringLiteral("Gegebenenfalls brechen Sie den Versand ab und speichern nochmals!"),
            QStringLiteral("Nur diese Datei soll an den ZOR geschickt werden!"),
            QString(),
            QString::fromUtf8("1.M\u00f6glichkeit - Mit Diskette per Post:"),
            QString::fromUtf8(
                    "Explorer starten und die Datei <vereinsnummer.zor> mit gedr\u00fcckter "
                    "Maustaste vom Desktop auf das Laufwerkssymbol: 3.5-Diskette(A) ziehen. "
                    "Danach kann die Diskette an den ZOR geschickt werden."),
            QString(),
            QString::fromUtf8("2.M\u00f6glichkeit: - Als E-mail-Anhang:"),
            QString::fromUtf8(
                    "E-Mail-Programm aufrufen, Nachricht->neue Nachricht ausw\u00e4hlen. "),
            QStringLiteral("Die Adresse ") + quote + mailbox + quote
                    + QStringLiteral(" in der Adresszeile eingeben. "),
            QStringLiteral("In der Betreff-Zeile ") + quote + subject + quote
                    + QStringLiteral(" eingeben. "),
            QString::fromUtf8(
                    "Die Datei <vereinsnummer.zor> an die Nachricht anh\u00e4ngen: mit "
                    "gedr\u00fcckter Maustaste vom Desktop auf das E-Mail-Fenster ziehen und "
                    "dort loslassen, wo beim Cursor ein Pluszeichen erscheint. Danach "
                    "Nachricht absenden."),
            QString(),
            QString::fromUtf8(
                    "Das Mailprogramm sollte jetzt automatisch mit ausgef\u00fcllter "
                    "Adresszeile starten! Wichtig: Die Datei <vereinsnummer.zor> muss noch "
                    "angeh\u00e4ngt werden !"),
    };
    return lines.join(QLatin1Char('\n'));
}

QUrl mailtoUrl(const QString &mailbox, const QString &subject)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(mailbox);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), subject);
    url.setQuery(query);
    return url;
}

QStringList xdgEmailArguments(const QString &mailbox, const QString &subject,
                              const QString &attachment)
{
    QStringList args{QStringLiteral("--subject"), subject};
    if (!attachment.isEmpty())
        args << QStringLiteral("--attach") << attachment;
    args << mailbox;
    return args;
}

QString mailNotStartedText(const QString &mailbox, const QString &subject,
                           const QString &attachment)
{
    return QString::fromUtf8("Das E-Mail-Programm konnte nicht gestartet werden.\n\n"
                             "Bitte schicken Sie die Datei\n%1\n"
                             "als Anhang an die Adresse \"%2\" mit dem Betreff \"%3\".")
            .arg(QDir::toNativeSeparators(attachment), mailbox, subject);
}

QString mailUnconfirmedText(const QString &mailbox, const QString &subject,
                            const QString &attachment)
{
    return QString::fromUtf8(
                   "Das E-Mail-Programm hat sich nicht zur\u00fcckgemeldet.\n\n"
                   "Falls sich kein Fenster f\u00fcr die neue Nachricht ge\u00f6ffnet hat, schicken Sie "
                   "bitte die Datei\n%1\n"
                   "als Anhang an die Adresse \"%2\" mit dem Betreff \"%3\".")
            .arg(QDir::toNativeSeparators(attachment), mailbox, subject);
}

QString mailOpenedText(const QString &mailbox, const QString &subject, const QString &companion,
                       bool attachmentGiven)
{
    const QString name = QFileInfo(companion).fileName();
    const QString opened = QString::fromUtf8("Das E-Mail-Programm wurde ge\u00f6ffnet, mit der "
                                             "Adresse \"%1\" und dem Betreff \"%2\".\n\n")
                                   .arg(mailbox, subject);
    const QString attach = attachmentGiven
                                   ? QString::fromUtf8(
                                             "Pr\u00fcfen Sie, ob die Datei %1 angeh\u00e4ngt ist. "
                                             "Schreiben Sie Ihre E-Mails im Browser (Webmail), "
                                             "fehlt sie dort: ")
                                             .arg(name)
                                   : QString::fromUtf8("Die Datei %1 muss noch an die Nachricht "
                                                       "angeh\u00e4ngt werden: ")
                                             .arg(name);
    return opened + attach
           + QString::fromUtf8("\u201eOrdner \u00f6ffnen\u201c zeigt die Datei\n%1\nim "
                               "Dateimanager. Ziehen Sie sie von dort mit der Maus in das "
                               "Fenster der Nachricht.")
                     .arg(QDir::toNativeSeparators(companion));
}

QString folderOfferText(const QString &companion)
{
    return QString::fromUtf8("\u201eOrdner \u00f6ffnen\u201c zeigt die Datei %1 im Dateimanager; "
                             "von dort l\u00e4sst sie sich mit der Maus in das Fenster einer "
                             "Nachricht ziehen, auch im Browser (Webmail).")
            .arg(QFileInfo(companion).fileName());
}

QString folderButtonText()
{
    return QString::fromUtf8("Ordner \u00f6ffnen");
}

QString folderNotShownText(const QString &companion)
{
    return QString::fromUtf8("Der Ordner lie\u00df sich nicht anzeigen: Es ist kein Dateimanager "
                             "eingerichtet, oder er hat nicht geantwortet.\n\n"
                             "Die Datei liegt hier:\n%1")
            .arg(QDir::toNativeSeparators(companion));
}

QString attachmentLeftOutText(const QString &attachment, const QString &reason)
{
    return QString::fromUtf8("Das E-Mail-Programm wurde ohne Anhang ge\u00f6ffnet: %1\n\n"
                             "Bitte h\u00e4ngen Sie die Datei\n%2\nselbst an die Nachricht an.")
            .arg(reason, QDir::toNativeSeparators(attachment));
}

bool isPlainPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')
                           || (u >= u'0' && u <= u'9') || u == u'/' || u == u'.' || u == u'_'
                           || u == u'-';
        if (!plain)
            return false;
    }
    return true;
}

Result<QString> makeAttachmentCopy(const QString &companion)
{
    const ReadResult source = readFileBounded(companion);
    if (!source)
        return Failure{QString::fromUtf8("Die Datei %1 lie\u00df sich nicht lesen.")
                               .arg(QDir::toNativeSeparators(companion))};

    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return Failure{QStringLiteral("Es gibt keinen Ordner f\u00fcr Laufzeitdateien.")};
    const QString folder = QDir(runtime).filePath(QStringLiteral("zor-quorvane"));
    const QString copy = QDir(folder).filePath(QFileInfo(companion).fileName());
    if (!isPlainPath(copy))
        return Failure{QString::fromUtf8("Der Pfad %1 enth\u00e4lt Zeichen, die das "
                                         "E-Mail-Programm missverstehen k\u00f6nnte.")
                               .arg(QDir::toNativeSeparators(copy))};
    // Only the user may look into the folder: it holds the club's report.
    if (!QDir().mkpath(folder)
        || !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ExeOwner))
        return Failure{QString::fromUtf8("Der Ordner %1 lie\u00df sich nicht anlegen.")
                               .arg(QDir::toNativeSeparators(folder))};
    if (!writeFileSafely(copy, source->bytes, Links::Refuse, 0600))
        return Failure{QString::fromUtf8("Die Kopie %1 lie\u00df sich nicht schreiben.")
                               .arg(QDir::toNativeSeparators(copy))};
    return copy;
}

QString locateHelpPage(const QString &startupPage, const QStringList &installedPages)
{
    if (QFileInfo(startupPage).isFile())
        return QFileInfo(startupPage).absoluteFilePath();
    for (const QString &page : installedPages) {
        if (QFileInfo(page).isFile())
            return QFileInfo(page).absoluteFilePath();
    }
    return QString();
}

QStringList helpPageCandidates(const QString &appDir, const QStringList &dataDirPages,
                               const QString &installedPage)
{
    const QString rel = QStringLiteral("share/zor-quorvane/zorhelp.htm");
    QStringList pages;
    if (!appDir.isEmpty()) {
        pages << QDir::cleanPath(appDir + QStringLiteral("/../") + rel);
        pages << QDir::cleanPath(appDir + QLatin1Char('/') + rel);
    }
    pages << dataDirPages;
    if (!installedPage.isEmpty())
        pages << installedPage;
    pages.removeDuplicates();
    return pages;
}

} // namespace zor
