// The document flows of the main window: reset, New, Open, Save, Save As,
// Exit and the close query, and the idle refresh.

#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "ui/dialogs.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QApplication>
#include <QMenu>

namespace {

const QString &changedQuestion()
{
    static const QString q = QString::fromUtf8(
            "Das aktuelle Dokument wurde ge\u00e4ndert. Speichern ?");
    return q;
}

const QString &reportFilter()
{
    static const QString f = QStringLiteral("Quorvane(*.zor)");
    return f;
}

} // namespace

void TSDIAppForm::ResetReport()
{
    // Whatever the club number holds, half-typed included, a new report starts at 0000.
    putReport(zor::Report::fresh());
    ui->Zahlen->showHeadings();
    ui->NName->setText(QString());
    ui->VName->setText(QString());
    ui->Grad->setText(QStringLiteral("1"));
    UpdateSums();
}

bool TSDIAppForm::mayLeaveReport()
{
    commitPendingEdit();
    if (!Modified)
        return true;
    switch (zor::Dialogs::current().askYesNoCancel(this, zor::programName(), changedQuestion())) {
    case zor::Answer::Yes:
        // Only a report that is now in a file may be left: a save that was
        // refused, failed or cancelled keeps it on screen, as closing does.
        save();
        return Modified == 0;
    case zor::Answer::No:
        return true;
    default:
        return false;
    }
}

void TSDIAppForm::save()
{
    if (m_fileName.isEmpty()) {
        FileSaveAs1Execute();
        return;
    }
    writeReportAndCompanion();
}

void TSDIAppForm::FileNew1Execute()
{
    if (!mayLeaveReport())
        return;
    guarded([this] { ResetReport(); });
    Modified = 0;
    m_fileName.clear();
    discardRecovery();
    focusFirstField();
}

void TSDIAppForm::FileOpen1Execute()
{
    if (!mayLeaveReport())
        return;
    m_openFileName.clear();
    const QString chosen = zor::Dialogs::current().openFile(this, reportFilter());
    if (chosen.isEmpty())
        return;
    if (openChosen(chosen))
        focusFirstField();
}

bool TSDIAppForm::openChosen(const QString &path)
{
    m_openFileName = path;
    // LoadReportFile resets the window only once it has read the file; a file
    // that cannot be read changes nothing, the report's file name included.
    if (!LoadReportFile())
        return false;
    guarded([this] { UpdateSums(); });
    m_fileName = path;
    discardRecovery();
    return true;
}

void TSDIAppForm::openFromCommandLine(const QString &path)
{
    if (mayLeaveReport())
        openChosen(path);
}

void TSDIAppForm::FileSave1Execute()
{
    commitPendingEdit();
    save();
}

void TSDIAppForm::FileSaveAs1Execute()
{
    commitPendingEdit();
    const QString chosen = zor::Dialogs::current().saveFile(this, QStringLiteral("Speichern unter"),
                                                            m_fileName, reportFilter(),
                                                            QStringLiteral("zor"));
    if (chosen.isEmpty())
        return;
    m_fileName = chosen;
    writeReportAndCompanion();
}

void TSDIAppForm::FileExit1Execute()
{
    close();
}

void TSDIAppForm::FormCloseQuery(bool &CanClose)
{
    CanClose = true;
    if (!Modified)
        return;
    switch (zor::Dialogs::current().confirm(this, changedQuestion())) {
    case zor::Answer::Yes:
        save();
        CanClose = Modified == 0;
        break;
    case zor::Answer::No:
        CanClose = true;
        break;
    default:
        CanClose = false;
        break;
    }
}

void TSDIAppForm::AppIdle()
{
    const bool selected = !ui->Liste->selectedItems().isEmpty();
    if (ui->DelBtn->isEnabled() != selected)
        ui->DelBtn->setEnabled(selected);
    if (ui->ModBtn->isEnabled() != selected)
        ui->ModBtn->setEnabled(selected);
    const bool canAdd = !ui->NName->text().isEmpty() && !ui->VName->text().isEmpty();
    if (ui->AddBtn->isEnabled() != canAdd)
        ui->AddBtn->setEnabled(canAdd);

    // While a menu is open its hint stays in the status bar.
    if (qobject_cast<QMenu *>(QApplication::activePopupWidget()))
        return;
    const QString marker = Modified ? QStringLiteral("mod") : QString();
    // Only a real change is written: a repaint would wake the queue again.
    if (ui->StatusBar->currentMessage() != marker)
        ui->StatusBar->showMessage(marker);
}
