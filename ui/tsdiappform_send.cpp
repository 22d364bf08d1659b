// Sending the report, the help page and the about box.

#include "ui/tsdiappform.h"

#include "send/desktophandoff.h"
#include "send/sending.h"
#include "ui/dialogs.h"
#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui_tsdiappform.h"

#include <QDir>
#include <QFileInfo>

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
        zor::Dialogs::current().message(
                this, programCaption(),
                QStringLiteral("Die aktuelle Quorvane muss zuerst gespeichert werden !"));
        return;
    }

    // Both files are written once more, so the companion copy surely holds
    // the report on screen. When either write fails the save routines have
    // said which and why, and nothing is offered for sending: an old
    // companion copy in the folder may be last year's.
    m_sending = true;
    const bool written = SaveReportFile() == 1 && WriteCompanionFile();
    m_sending = false;
    if (!written)
        return;

    const QString mailbox = zor::reportMailbox();
    const QString subject = zor::reportSubject();
    zor::Dialogs::current().message(this, programCaption(),
                                    zor::sendInstructions(mailbox, subject));

    // The companion copy is what the club sends in; xdg-email attaches a
    // private copy of it, so the user need not drag it into the mail. When
    // the hand-off fails the user is told what to send where.
    const QString companion = zor::companionFilePath(m_fileName, ui->Nummer->text());
    const QString told = zor::handOffReport(zor::DesktopHandOff::current(), mailbox, subject,
                                            companion);
    if (!told.isEmpty())
        zor::Dialogs::current().message(this, programCaption(), told);
}

void TSDIAppForm::HilfeInhaltExecute()
{
    zor::DesktopHandOff &desktop = zor::DesktopHandOff::current();
    const QString page = zor::locateHelpPage(m_helpFile, desktop.installedHelpPages());
    if (page.isEmpty()) {
        zor::Dialogs::current().message(
                this, programCaption(),
                QString::fromUtf8(
                        "Die Hilfeseite zorhelp.htm wurde nicht gefunden: weder im Ordner\n%1\n"
                        "noch bei den installierten Programmdateien.")
                        .arg(QDir::toNativeSeparators(QFileInfo(m_helpFile).absolutePath())));
        return;
    }
    if (!zor::openLocalPage(desktop, page))
        zor::Dialogs::current().message(
                this, programCaption(),
                QString::fromUtf8(
                        "Die Hilfeseite\n%1\nkonnte nicht ge\u00f6ffnet werden. Es ist kein "
                        "Programm zum Anzeigen von HTML-Seiten eingerichtet.")
                        .arg(QDir::toNativeSeparators(page)));
}

void TSDIAppForm::HelpAbout1Execute()
{
    m_about->exec();
}
