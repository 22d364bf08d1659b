// The main window's report file routines: save, companion copy, open.

#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "reportfile/completenesscheck.h"
#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"
#include "ui/dialogs.h"
#include "ui_tsdiappform.h"

#include <QFileInfo>

namespace {

const QString &cannotOpen()
{
    static const QString t = QStringLiteral("Datei kann nicht ge\u00f6ffnet werden");
    return t;
}

// Tells once, after reading, what of the file could not be taken over, so
// that nothing in the report changes without the user knowing.
QString readNotice(const zor::ReportAsRead &read, const QString &path)
{
    const QString name = zor::quotedPath(path);
    QStringList parts;
    if (read.lineCount == 0) {
        parts << QStringLiteral("Die Datei %1 enth\u00e4lt keine Angaben.").arg(name);
    } else if (read.endedEarly()) {
        parts << QStringLiteral("Die Datei %1 endet bereits nach Zeile %2. Was danach "
                                "kommen sollte, ist leer geblieben; fehlende Mitgliederzahlen "
                                "stehen auf 0.")
                         .arg(name, QString::number(read.lineCount));
    }
    if (!read.unreadableLines.isEmpty()) {
        QString list;
        for (const int line : read.unreadableLines) {
            const int group = line - zor::FieldCount - 1;
            list += QStringLiteral("   Zeile %1 (%2)\n")
                            .arg(line)
                            .arg(zor::ageGroupLabel(group).trimmed());
        }
        parts << QStringLiteral(
                         "In der Datei %1 konnten diese Zeilen mit Mitgliederzahlen "
                         "nicht gelesen werden:\n%2\nWas darin nicht lesbar war, steht jetzt als 0 "
                         "auf der Seite Mitglieder. Bitte pr\u00fcfen Sie die Zahlen vor dem "
                         "Speichern.")
                         .arg(name, list);
    }
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace

int TSDIAppForm::SaveReportFile()
{
    // The check reads the total as the label shows it, so the label must
    // reflect the cells; a cell that is no number ends the save here, before
    // anything is tidied or written. That is told once, and the user stays at
    // the cell: showing the page Verein first would take the focus out of the
    // grid, whose leaving tells it a second time.
    if (!guarded([this] { UpdateSums(); }))
        return 0;
    ui->PgCrtl->setCurrentWidget(ui->Verein);

    zor::ReportTexts texts;
    for (int i = 0; i < zor::FieldCount; ++i)
        texts[i] = field(static_cast<zor::Field>(i))->text();
    const zor::CompletenessCheck check = zor::checkCompleteness(texts, ui->AllSum->text());

    const QString path = currentFileName();
    if (check.passed() && path == m_knownPath && zor::changedSince(path, m_known)) {
        // Asked before anything is tidied: "Nein" leaves file and report as they are.
        const zor::Answer overwrite = zor::Dialogs::current().askYesNo(
                this, zor::programName(),
                QStringLiteral(
                        "Die Datei %1 wurde seit dem \u00d6ffnen oder letzten Speichern von einem "
                        "anderen Programm ge\u00e4ndert.\n\nSoll sie mit dem Bericht in diesem "
                        "Fenster \u00fcberschrieben werden? Die \u00c4nderungen des anderen "
                        "Programms gehen dann verloren.")
                        .arg(zor::quotedPath(path)));
        if (overwrite != zor::Answer::Yes) {
            // The file keeps the other program's version: the window's report
            // is in no file now, whatever it was before.
            Modified = 1;
            if (m_sending)
                zor::Dialogs::current().message(
                        this, zor::programName(),
                        QStringLiteral("Die Quorvane wurde nicht abgesendet."));
            return 0;
        }
    }

    // Field by field and only where the text changes, so each tidied field
    // raises its own change notification.
    for (int i = 0; i < zor::FieldCount; ++i) {
        QLineEdit *edit = field(static_cast<zor::Field>(i));
        if (edit->text() != check.texts[i])
            edit->setText(check.texts[i]);
    }

    if (!check.passed()) {
        zor::Dialogs::current().message(this, QStringLiteral("Eingabepr\u00fcfung: Fehler !"),
                                        check.message);
        return 0;
    }

    const zor::SaveResult saved = zor::saveReport(path, currentReport());
    if (saved) {
        Modified = 0;
        remember(path);
        discardRecovery(); // the report is in its file now
        return 1;
    }
    if (m_sending) {
        // The report was saved before sending began; this was the write once
        // more. Whether it is still saved depends on the file as it is now.
        const bool stillSaved = m_knownPath == path && QFileInfo::exists(path)
                                && !zor::changedSince(path, m_known);
        if (!stillSaved)
            Modified = 1; // the report is in no file any more: closing asks again
        zor::Dialogs::current().warning(
                this,
                QStringLiteral("Die Quorvane wurde nicht abgesendet: Die Datei %1 konnte vor dem "
                               "Absenden nicht noch einmal geschrieben werden.\n%2\n\n")
                                .arg(zor::quotedPath(path), saved.reason())
                        + (stillSaved ? QStringLiteral("Der Bericht ist darin weiterhin so "
                                                       "gespeichert wie zuletzt.")
                                      : QStringLiteral("Der Bericht ist in keiner Datei mehr "
                                                       "gespeichert. Bitte speichern Sie ihn mit "
                                                       "\u201eSpeichern unter...\u201c neu."))
                        + QStringLiteral(" Bitte beheben Sie den Grund und senden Sie dann noch "
                                         "einmal."));
        return 0;
    }
    switch (saved.failure().kind) {
    case zor::SaveFailure::NotOpened:
        zor::Dialogs::current().warning(
                this,
                cannotOpen()
                        + QStringLiteral("\n\n%1\n%2").arg(zor::quotedPath(path), saved.reason()));
        break;
    case zor::SaveFailure::NotWritten:
        zor::Dialogs::current().warning(
                this, QStringLiteral("Die Datei %1 konnte nicht geschrieben "
                                     "werden:\n%2\n\nDie bisherige Datei ist unver\u00e4ndert "
                                     "geblieben; der Bericht ist noch nicht gespeichert.")
                              .arg(zor::quotedPath(path), saved.reason()));
        break;
    }
    return 0;
}

bool TSDIAppForm::writeReportAndCompanion()
{
    return SaveReportFile() == 1 && WriteCompanionFile();
}

bool TSDIAppForm::WriteCompanionFile()
{
    // The companion copy, named after the club number, is what the club sends
    // in. It holds the report just saved; when the report was saved under the
    // companion's own name, that one write was both.
    const QString report = currentFileName();
    const QString companion = zor::companionFilePath(report, ui->Nummer->text());
    if (QFileInfo(companion).absoluteFilePath() == QFileInfo(report).absoluteFilePath())
        return true;
    // The name is the program's choice, not the user's: a link or anything
    // but a plain file under it is left alone.
    const zor::SaveResult saved = zor::saveReport(companion, currentReport(), zor::Links::Refuse);
    if (saved)
        return true;
    zor::Dialogs::current().warning(
            this,
            QStringLiteral("Der Bericht ist in %1 gespeichert.\n\nDie Begleitdatei %2, die an "
                           "den ZOR geschickt wird, konnte aber nicht geschrieben werden:\n%3\n\n")
                            .arg(zor::quotedPath(report), zor::quotedPath(companion),
                                 saved.reason())
                    + (m_sending ? QStringLiteral("Die Quorvane wurde daher nicht abgesendet. "
                                                  "Bitte beheben Sie den Grund und senden Sie "
                                                  "dann noch einmal.")
                                 : QStringLiteral("Bitte beheben Sie den Grund und speichern Sie "
                                                  "noch einmal, bevor Sie die Quorvane "
                                                  "absenden.")));
    return false;
}

bool TSDIAppForm::LoadReportFile()
{
    // The file is read whole before anything in the window changes, so a
    // file that cannot be read leaves the report on screen untouched.
    const QString path = m_openFileName;
    const zor::ReadResult file = zor::readFileBounded(path);
    if (!file) {
        zor::Dialogs::current().warning(
                this,
                cannotOpen()
                        + QStringLiteral("\n\n%1\n%2").arg(zor::quotedPath(path), file.reason()));
        return false;
    }
    const zor::ReportAsRead read = zor::readReport(file->bytes);

    guarded([this] { ResetReport(); });
    putReport(read.report);
    const QString notice = readNotice(read, path);
    if (!notice.isEmpty())
        zor::Dialogs::current().message(this, zor::programName(), notice);
    Modified = 0;
    m_knownPath = path;
    m_known = zor::FileFingerprint::of(file->bytes, file->mtimeNs);
    return true;
}

void TSDIAppForm::remember(const QString &path)
{
    m_knownPath = path;
    m_known = zor::FileFingerprint::ofFile(path);
}
