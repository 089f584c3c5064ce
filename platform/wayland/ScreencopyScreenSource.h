// The screen of a Wayland session whose compositor offers wlr-screencopy (sway and other desktops
// built on wlroots): each output's picture is copied straight from the compositor,
// silently (no permission dialog, no file) and exactly, and placed in XWayland's coordinates.
// XWayland's root window spans the compositor's layout in logical pixels from the same origin, so
// a layout point is the X point with the same numbers.
#pragma once

#include "platform/DesktopPictureScreenSource.h"
#include "platform/wayland/WaylandDisplay.h"

#include <memory>
#include <string>

class ScreencopyScreenSource : public DesktopPictureScreenSource {
public:
    // The source when the session's compositor offers screencopy; nothing, and `reason` set, when it
    // does not. `x11` gives everything but the pixels and outlives the source.
    static std::unique_ptr<ScreencopyScreenSource> offered(ScreenSource& x11, std::string& reason);

    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;
    bool desktopDrawsCursor() const override { return true; }
    bool copyPixelsWithCursor(int left, int top, int width, int height, Bitmap& target) override;

private:
    ScreencopyScreenSource(ScreenSource& x11, std::unique_ptr<WaylandDisplay> display);
    bool copyOutputs(const Rect& area, bool withCursor, Bitmap& target);

    std::unique_ptr<WaylandDisplay> display_;
};
