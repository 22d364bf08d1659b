// The main window's report file routines: save, companion copy, open.

#include "ui/tsdiappform.h"

#include "app/dialogs.h"
#include "reportfile/completenesscheck.h"
#include "reportfile/reportreader.h"
#include "reportfile/reportwriter.h"
#include "ui_tsdiappform.h"

#include <QDir>
#include <QFile>

namespace {

const QString &cannotOpen()
{
    static const QString t = QStringLiteral("Datei kann nicht ge\u00f6ffnet werden");
    return t;
}

// Tells once, after reading, what of the file could not be taken over, so
// that nothing in the report changes without the user knowing.
QString readNotice(const zor::ReadResult &read, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
    QStringList parts;
    if (read.lineCount == 0) {
        parts << QStringLiteral("Die Datei \u201e%1\u201c enth\u00e4lt keine Angaben.").arg(name);
    } else if (read.endedEarly()) {
        parts << QStringLiteral("Die Datei \u201e%1\u201c endet bereits nach Zeile %2. Was danach "
                                "kommen sollte, ist leer geblieben; fehlende Mitgliederzahlen "
                                "stehen auf 0.")
                     .arg(name)
                     .arg(read.lineCount);
    }
    if (!read.unreadableLines.isEmpty()) {
        QString list;
        for (const int line : read.unreadableLines) {
            const int group = line - zor::FieldCount - 1;
            list += QStringLiteral("   Zeile %1 (%2)\n").arg(line).arg(zor::ageGroupLabel(group).trimmed());
        }
        parts << QStringLiteral("In der Datei \u201e%1\u201c konnten diese Zeilen mit Mitgliederzahlen "
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
    ui->PgCrtl->setCurrentWidget(ui->Verein);

    // The check reads the total as the label shows it, so the label must
    // reflect the cells; a cell that is no number ends the save here, before
    // anything is tidied or written.
    if (!guarded([this] { UpdateSums(); }))
        return 0;

    zor::ReportTexts texts;
    for (int i = 0; i < zor::FieldCount; ++i)
        texts[i] = field(static_cast<zor::Field>(i))->text();
    const zor::CompletenessResult check = zor::checkCompleteness(texts, ui->AllSum->text());

    // Field by field and only where the text changes, so each tidied field
    // raises its own change notification.
    for (int i = 0; i < zor::FieldCount; ++i) {
        QLineEdit *edit = field(static_cast<zor::Field>(i));
        if (edit->text() != check.texts[i])
            edit->setText(check.texts[i]);
    }

    if (!check.passed()) {
        zor::Dialogs::message(this, check.message, QStringLiteral("Eingabepr\u00fcfung: Fehler !"));
        return 0;
    }

    const zor::SaveResult saved = zor::saveReport(currentFileName(), currentReport());
    switch (saved.outcome) {
    case zor::SaveOutcome::Saved:
        Modified = 0;
        return 1;
    case zor::SaveOutcome::NotOpened:
        zor::Dialogs::warning(this, cannotOpen());
        return 0;
    case zor::SaveOutcome::NotWritten:
        zor::Dialogs::warning(this, QStringLiteral("Die Datei \u201e%1\u201c konnte nicht geschrieben "
                                                   "werden:\n%2\n\nDie bisherige Datei ist unver\u00e4ndert "
                                                   "geblieben; der Bericht ist noch nicht gespeichert.")
                                        .arg(QDir::toNativeSeparators(currentFileName()), saved.reason));
        return 0;
    }
    return 0;
}

void TSDIAppForm::WriteCompanionFile()
{
    // The companion copy, named after the club number, is what the club sends in.
    const QString kept = currentFileName();
    setCurrentFileName(zor::companionFilePath(kept, ui->Nummer->text()));
    SaveReportFile();
    setCurrentFileName(kept);
}

bool TSDIAppForm::LoadReportFile()
{
    QFile file(openFileName());
    zor::ReadResult read;
    if (!file.open(QIODevice::ReadOnly) || !zor::readReport(file, &read)) {
        zor::Dialogs::warning(this, cannotOpen());
        return false;
    }
    file.close();

    showReport(read.report);
    const QString notice = readNotice(read, openFileName());
    if (!notice.isEmpty())
        zor::Dialogs::message(this, notice, QStringLiteral("ZOR-Quorvane"));
    Modified = 0;
    return true;
}
