#include "capture/DesktopGrab.h"

#include "capture/ScreenGrabber.h"

bool GrabDesktop(const Rect& area, Bitmap& bitmap, bool withCursor, ScreenSource& screen)
{
    if (!GrabScreen(area.left, area.top, area.width(), area.height(), bitmap, withCursor, screen)) {
        return false;
    }
    const MonitorLayout monitors = screen.monitorLayout();
    // One monitor is the whole screen: what lies off it is black already.
    if (monitors.monitors().size() < 2 || bitmap.width() != area.width() || bitmap.height() != area.height()) {
        return true;
    }
    for (const Rect& dead : monitors.uncoveredParts(area)) {
        bitmap.fillRect({dead.left - area.left, dead.top - area.top, dead.right - area.left, dead.bottom - area.top},
                        0);
    }
    return true;
}
