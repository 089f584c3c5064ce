#include "editor/ui/MenuIconStyle.h"

MenuIconStyle::MenuIconStyle(int iconSize) : iconSize_(iconSize)
{
}

int MenuIconStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_SmallIconSize) {
        return iconSize_;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}
