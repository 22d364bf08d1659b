// Sending the report, the help page and the about box.

#include "ui/tsdiappform.h"

#include "app/dialogs.h"
#include "send/desktophandoff.h"
#include "send/sending.h"
#include "ui/nummeredit.h"
#include "ui/taboutbox.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString &programCaption()
{
    static const QString c = QStringLiteral("ZOR-Quorvane");
    return c;
}

} // namespace

void TSDIAppForm::EMailSchickenExecute()
{
    commitPendingEdit();
    if (Modified == 1 || m_fileName.isEmpty()) {
        zor::Dialogs::message(this, QStringLiteral("Die aktuelle Quorvane muss zuerst gespeichert werden !"),
                              programCaption());
        return;
    }

    // Both files are written once more, so the companion copy surely holds
    // the report on screen. The save routines report their own failures.
    SaveReportFile();
    WriteCompanionFile();

    const QString mailbox = zor::reportMailbox();
    const QString subject = zor::reportSubject();
    zor::Dialogs::message(this, zor::sendInstructions(mailbox, subject), programCaption());

    // The companion copy is what the club sends in; xdg-email attaches it when
    // it is there, so the user need not drag it into the mail.
    const QString companion = zor::companionFilePath(m_fileName, nummer()->text());
    const QString attachment = QFileInfo(companion).isFile() ? companion : QString();
    if (!zor::startMailProgram(zor::DesktopHandOff::current(), mailbox, subject, attachment))
        zor::Dialogs::message(this, zor::mailNotStartedText(mailbox, subject, companion),
                              programCaption());
}

void TSDIAppForm::HilfeInhaltExecute()
{
    zor::DesktopHandOff &desktop = zor::DesktopHandOff::current();
    const QString page = zor::locateHelpPage(m_helpFile, desktop.installedHelpPages());
    if (page.isEmpty()) {
        zor::Dialogs::message(
            this,
            QString::fromUtf8("Die Hilfeseite zorhelp.htm wurde nicht gefunden: weder im Ordner\n%1\n"
                              "noch bei den installierten Programmdateien.")
                .arg(QDir::toNativeSeparators(QFileInfo(m_helpFile).absolutePath())),
            programCaption());
        return;
    }
    // A file URL, never a command line: blanks, quotes and semicolons in the
    // path stay part of the path.
    if (!desktop.openUrl(QUrl::fromLocalFile(page)))
        zor::Dialogs::message(
            this,
            QString::fromUtf8("Die Hilfeseite\n%1\nkonnte nicht ge\u00f6ffnet werden. Es ist kein "
                              "Programm zum Anzeigen von HTML-Seiten eingerichtet.")
                .arg(QDir::toNativeSeparators(page)),
            programCaption());
}

void TSDIAppForm::HelpAbout1Execute()
{
    aboutBox()->exec();
}
