#include "capture/FullScreenGrab.h"

#include "capture/ScreenGrabber.h"

Rect GrabFullScreen(Point anchor, bool allMonitors, Bitmap& bitmap, bool withCursor, ScreenSource& screen)
{
    const MonitorLayout monitors = screen.monitorLayout();
    const Rect area = monitors.fullScreenArea(anchor, allMonitors);
    GrabScreen(area.left, area.top, area.width(), area.height(), bitmap, withCursor, screen);
    if (bitmap.width() == area.width() && bitmap.height() == area.height()) {
        for (const Rect& dead : monitors.uncoveredParts(area)) {
            bitmap.fillRect(
                {dead.left - area.left, dead.top - area.top, dead.right - area.left, dead.bottom - area.top}, 0);
        }
    }
    return area;
}
