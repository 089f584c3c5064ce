#include "platform/x11/OpeningMonitor.h"

#include "platform/ScreenSource.h"

#include <QWidget>

Rect openingMonitor(const ScreenSource& screen, const QWidget* owner)
{
    const MonitorLayout monitors = screen.monitorLayout();
    if (owner == nullptr) {
        return monitors.primary().bounds;
    }
    const QRect bounds = owner->window()->geometry();
    return monitors.monitorOf(Rect::fromSize(bounds.x(), bounds.y(), bounds.width(), bounds.height())).bounds;
}
