// Report entry in the main window: the member-count grid, the masters list and
// the checks run when the user leaves a field.

#include "ui/tsdiappform.h"

#include "entry/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QListWidget>

void TSDIAppForm::wireEntry()
{
}

bool TSDIAppForm::eventFilter(QObject *watched, QEvent *event)
{
    return QMainWindow::eventFilter(watched, event);
}

void TSDIAppForm::UpdateSums()
{
    qint32 rows[zor::AgeGroupCount];
    qint32 men = 0;
    qint32 women = 0;
    for (int g = 0; g < zor::AgeGroupCount; ++g) {
        const qint32 m = zor::toInt32(ui->Zahlen->cellText(g + 1, 1));
        const qint32 w = zor::toInt32(ui->Zahlen->cellText(g + 1, 2));
        rows[g] = m + w;
        men += m;
        women += w;
    }
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        sumLabel(QStringLiteral("Sum%1").arg(g + 1).toLatin1().constData())->setText(QString::number(rows[g]));
    ui->MSum->setText(QString::number(men));
    ui->WSum->setText(QString::number(women));
    ui->AllSum->setText(QString::number(men + women));
}

void TSDIAppForm::ZahlenKeyPress(QChar &)
{
}

void TSDIAppForm::ZahlenKeyDown(int, Qt::KeyboardModifiers)
{
}

void TSDIAppForm::ZahlenSelectCell(int, int, bool &)
{
}

void TSDIAppForm::ZahlenExit()
{
}

void TSDIAppForm::AddBtnClick()
{
}

void TSDIAppForm::ModBtnClick()
{
}

void TSDIAppForm::DelBtnClick()
{
}

QStringList TSDIAppForm::masters() const
{
    QStringList out;
    out.reserve(ui->Liste->count());
    for (int i = 0; i < ui->Liste->count(); ++i)
        out.append(ui->Liste->item(i)->text());
    return out;
}

void TSDIAppForm::setMasters(const QStringList &entries)
{
    ui->Liste->clear();
    ui->Liste->addItems(entries);
}

void TSDIAppForm::NummerControlExit()
{
}

void TSDIAppForm::EmailExit()
{
}
