// The main window's "Mitgliederliste übernehmen...": member counts and
// masters from the club's own member list. The list is read, shown in the
// dialog and dropped; only the counts and the masters entries go into the
// report.

#include "ui/tsdiappform.h"

#include "import/membercount.h"
#include "ui/dialogs.h"
#include "ui/icons.h"
#include "ui/memberimportdialog.h"
#include "ui_tsdiappform.h"

#include <QToolBar>

void TSDIAppForm::wireImport()
{
    ui->MitgliederImport->setIcon(zor::icons::importList());
    ui->MitgliederImport->setShortcutContext(Qt::WindowShortcut);
    if (QWidget *button = ui->ToolBar1->widgetForAction(ui->MitgliederImport))
        button->setObjectName(QStringLiteral("ImportBtn"));
    connect(ui->MitgliederImport, &QAction::triggered, this, &TSDIAppForm::MitgliederImportClick);
}

void TSDIAppForm::MitgliederImportClick()
{
    commitPendingEdit(); // a count being typed is part of what the dialog compares with
    const QString path = zor::Dialogs::current().openFile(
            this, QStringLiteral("Mitgliederlisten (*.csv *.txt *.xlsx *.ods);;"
                                 "CSV (*.csv *.txt);;Excel (*.xlsx);;LibreOffice (*.ods)"));
    if (path.isEmpty())
        return;

    // Read and counted off this thread: a long list leaves the window
    // responsive, with a progress dialog and "Abbrechen".
    const QDate today = QDate::currentDate();
    std::optional<zor::Result<MemberImportDialog::Loaded>> loaded = MemberImportDialog::load(
            this, path,
            zor::CountRules{zor::referenceDayFor(today), today, zor::OtherSex::NotCounted});
    if (!loaded)
        return; // stopped by the user: nothing changes
    if (!*loaded) {
        zor::Dialogs::current().warning(this, loaded->reason());
        return;
    }

    zor::Report report = currentReport();
    MemberImportDialog dialog(std::move(*loaded).value(), path, report.counts, report.masters,
                              today, this);
    if (zor::runModal(dialog) != QDialog::Accepted)
        return;

    // The same way an opened report reaches the controls.
    report.counts = dialog.counts();
    if (dialog.mastersChange())
        report.masters = dialog.masters();
    showReport(report);
    ui->PgCrtl->setCurrentWidget(ui->Mitglieder);
    Modified = 1;
}
