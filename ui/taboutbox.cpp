#include "ui/taboutbox.h"

#include "core/texts.h"
#include "ui/icons.h"
#include "ui_taboutbox.h"

#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    setFixedSize(314, 208);
    ui->ProgramIcon->setPixmap(zor::icons::programPicture(64));
    ui->ProgramName->setText(zor::programName());
    // The one version number is the build's.
    ui->Version->setText(QStringLiteral("Version " ZOR_VERSION "  - 2002"));
    if (QPushButton *ok = ui->OKButton->button(QDialogButtonBox::Ok)) {
        ok->setText(QStringLiteral("OK"));
        ok->setDefault(true);
    }
    connect(ui->OKButton, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent *event)
{
    // In the middle of the screen the main window is on, not of the window.
    // Placed before the box is mapped, so it does not jump.
    if (!event->spontaneous()) {
        const QWidget *anchor = parentWidget() ? parentWidget()->window() : this;
        if (const QScreen *screen = anchor->screen()) {
            QRect r = geometry();
            r.moveCenter(screen->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QDialog::showEvent(event);
}
