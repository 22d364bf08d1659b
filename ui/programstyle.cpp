#include "ui/programstyle.h"

#include "ui/icons.h"

#include <QWidget>

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
        return zor::icons::moreEntries(widget && widget->isRightToLeft() ? Qt::LeftArrow
                                                                         : Qt::RightArrow);
    case SP_ToolBarVerticalExtensionButton:
        return zor::icons::moreEntries(Qt::DownArrow);
    default:
        return QProxyStyle::standardIcon(icon, option, widget);
    }
}
