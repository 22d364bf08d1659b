#pragma once

#include <QProxyStyle>

// The program's style: the desktop's own, with the arrows of a menu bar or
// toolbar too small for its entries drawn by the program. Qt reads its own
// arrows from image files by name, and reading an image by name makes it
// load every image-format plugin on the system at start.
class ProgramStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
