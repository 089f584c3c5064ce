// The screen of a Wayland session as X11 programs see it: the pixels come from the desktop (its
// compositor or its Screenshot portal), which composes Zentrap's own windows into its picture,
// while XWayland still gives the palette, the cursor image and the monitors.
#pragma once

#include "platform/ScreenSource.h"

#include <string>

class DesktopPictureScreenSource : public ScreenSource {
public:
    // `x11` gives everything but the pixels and outlives this object.
    explicit DesktopPictureScreenSource(ScreenSource& x11) : x11_(x11) {}

    Size primaryScreenSize() const override { return x11_.primaryScreenSize(); }
    bool isAvailable() const override { return x11_.isAvailable(); }
    std::optional<std::vector<PaletteEntry>> systemPalette() override { return x11_.systemPalette(); }
    std::string unreadableReason() const override { return unreadable_; }
    // The desktop composes Zentrap's windows into its picture, the frame's hole included.
    bool picturesShowOwnWindows() const override { return true; }
    // XWayland knows the pointer only while it is over an X11 window: elsewhere it would give a
    // stale place, so no cursor is drawn by that place into the desktop's picture.
    std::optional<Point> cursorPosition() override { return std::nullopt; }
    std::optional<CursorImage> currentCursor() override { return x11_.currentCursor(); }
    std::vector<Monitor> monitors() const override { return x11_.monitors(); }

protected:
    ScreenSource& x11() { return x11_; }
    const ScreenSource& x11() const { return x11_; }
    // Why the last copy failed, in words for the user; empty after a good one.
    std::string unreadable_;

private:
    ScreenSource& x11_;
};
