#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// "Info": program name and version on a black panel, with its OK button,
// shown in the middle of the screen.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TAboutBox> ui;
};
