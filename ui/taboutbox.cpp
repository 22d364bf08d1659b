#include "ui/taboutbox.h"

#include "ui/icons.h"
#include "ui_taboutbox.h"

#include <QPushButton>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    setFixedSize(314, 208);
    ui->ProgramIcon->setPixmap(zor::icons::programPicture(64));
    if (QPushButton *ok = ui->OKButton->button(QDialogButtonBox::Ok)) {
        ok->setText(QStringLiteral("OK"));
        ok->setDefault(true);
    }
    connect(ui->OKButton, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;
