// Sending the report, the help page and the about box.

#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "send/desktophandoff.h"
#include "send/sending.h"
#include "ui/dialogs.h"
#include "ui/nummeredit.h"
#include "ui/taboutbox.h"
#include "ui_tsdiappform.h"

#include <QDir>
#include <QFileInfo>

void TSDIAppForm::EMailSchickenExecute()
{
    commitPendingEdit();
    if (Modified == 1 || m_fileName.isEmpty()) {
        zor::Dialogs::current().message(
                this, zor::programName(),
                QStringLiteral("Die aktuelle Quorvane muss zuerst gespeichert werden !"));
        return;
    }

    // Both files are written once more, so the companion copy surely holds
    // the report on screen. When either write fails the save routines have
    // said which and why, and nothing is offered for sending: an old
    // companion copy in the folder may be last year's.
    m_sending = true;
    const bool written = writeReportAndCompanion();
    m_sending = false;
    if (!written)
        return;

    const QString mailbox = zor::reportMailbox();
    const QString subject = zor::reportSubject();
    zor::Dialogs::current().message(this, zor::programName(),
                                    zor::sendInstructions(mailbox, subject));

    // The companion copy is what the club sends in; xdg-email attaches a
    // private copy of it, so the user need not drag it into the mail. The
    // window takes input while the mail program starts (a first-start
    // wizard may take long); one sending at a time.
    const QString companion = zor::companionFilePath(m_fileName, ui->Nummer->text());
    ui->EMailSchicken->setEnabled(false);
    setCursor(Qt::BusyCursor);
    zor::handOffReport(zor::DesktopHandOff::current(), mailbox, subject, companion, this,
                       [this, companion](const QString &told) {
                           unsetCursor();
                           ui->EMailSchicken->setEnabled(true);
                           offerFolder(companion, told);
                       });
}

void TSDIAppForm::offerFolder(const QString &companion, const QString &told)
{
    // Whatever became of the mail program, the file can be dragged from the
    // file manager into a mail: the way for webmail in the browser, where
    // mailto: cannot carry an attachment.
    const int choice = zor::Dialogs::current().choose(
            this, zor::programName(), told, {zor::folderButtonText(), QStringLiteral("OK")});
    if (choice != 0)
        return;
    zor::showFileInFolder(
            zor::DesktopHandOff::current(), companion, this, [this, companion](bool shown) {
                if (!shown)
                    zor::Dialogs::current().message(this, zor::programName(),
                                                    zor::folderNotShownText(companion));
            });
}

void TSDIAppForm::HilfeInhaltExecute()
{
    zor::DesktopHandOff &desktop = zor::DesktopHandOff::current();
    const QString page = zor::locateHelpPage(m_helpFile, desktop.installedHelpPages());
    if (page.isEmpty()) {
        zor::Dialogs::current().message(
                this, zor::programName(),
                QString::fromUtf8(
                        "Die Hilfeseite zorhelp.htm wurde nicht gefunden: weder im Ordner\n%1\n"
                        "noch bei den installierten Programmdateien.")
                        .arg(QDir::toNativeSeparators(QFileInfo(m_helpFile).absolutePath())));
        return;
    }
    zor::openLocalPage(desktop, page, this, [this, page](bool shown) {
        if (!shown)
            zor::Dialogs::current().message(
                    this, zor::programName(),
                    QString::fromUtf8(
                            "Die Hilfeseite\n%1\nkonnte nicht ge\u00f6ffnet werden. Es "
                            "ist kein Programm zum Anzeigen von HTML-Seiten eingerichtet.")
                            .arg(QDir::toNativeSeparators(page)));
    });
}

void TSDIAppForm::HelpAbout1Execute()
{
    // Made the first time it is asked for: its button box and style sheet
    // cost more at start than the whole rest of the window's pictures.
    if (!m_about)
        m_about = new TAboutBox(this);
    zor::runModal(*m_about);
}
