// The screen of a Wayland session whose compositor offers wlr-screencopy (the wlroots family: sway,
// Hyprland, river, labwc, Wayfire): each output's picture is copied straight from the compositor,
// silently (no permission dialog, no file) and exactly, and placed in XWayland's coordinates.
// XWayland's root window spans the compositor's layout in logical pixels from the same origin, so
// a layout point is the X point with the same numbers. The palette, the cursor image and the
// monitors' areas still come from the X server.
#pragma once

#include "platform/ScreenSource.h"
#include "platform/wayland/WaylandDisplay.h"

#include <memory>
#include <string>

class ScreencopyScreenSource : public ScreenSource {
public:
    // The source when the session's compositor offers screencopy; nothing, and `reason` set, when it
    // does not. `x11` gives everything but the pixels and outlives the source.
    static std::unique_ptr<ScreencopyScreenSource> offered(ScreenSource& x11, std::string& reason);

    Size primaryScreenSize() const override { return x11_.primaryScreenSize(); }
    bool isAvailable() const override { return x11_.isAvailable(); }
    std::optional<std::vector<PaletteEntry>> systemPalette() override { return x11_.systemPalette(); }
    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;
    bool desktopDrawsCursor() const override { return true; }
    bool copyPixelsWithCursor(int left, int top, int width, int height, Bitmap& target) override;
    std::string unreadableReason() const override { return unreadable_; }
    // The compositor composes Zentrap's windows into its picture, the frame's hole included.
    bool picturesShowOwnWindows() const override { return true; }
    // XWayland knows the pointer only while it is over an X11 window: elsewhere it would give a
    // stale place.
    std::optional<Point> cursorPosition() override { return std::nullopt; }
    std::optional<CursorImage> currentCursor() override { return x11_.currentCursor(); }
    std::vector<Monitor> monitors() const override { return x11_.monitors(); }

private:
    ScreencopyScreenSource(ScreenSource& x11, std::unique_ptr<WaylandDisplay> display);
    bool copyOutputs(const Rect& area, bool withCursor, Bitmap& target);

    ScreenSource& x11_;
    std::unique_ptr<WaylandDisplay> display_;
    std::string unreadable_;
};
