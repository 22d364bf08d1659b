#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// "Info": program name and version on a black panel.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> ui;
};
