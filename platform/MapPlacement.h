// Keeps a window where the program shows it when a compositor places it elsewhere as it maps it
// (sway centres every floating X11 window it maps): the place is asked for again, by the
// compositor's own means. Where the window manager grants the place, nothing is asked.
#pragma once

#include "platform/Clock.h"
#include "platform/WindowManager.h"

#include <optional>

class MapPlacement {
public:
    // Both outlive this object; `windowManager` may be null (no desktop to ask).
    MapPlacement(WindowManager* windowManager, const Clock& clock) : windowManager_(windowManager), clock_(clock) {}

    // The window is about to be mapped with its top-left pixel at `origin`.
    void showing(Point origin);
    // The window system reports the window at `origin`: a move the compositor made on the map is
    // taken back.
    void moved(NativeWindow window, Point origin);
    // The user takes the window: from now on its place is the user's.
    void forget() { wanted_.reset(); }

private:
    WindowManager* windowManager_;
    const Clock& clock_;
    std::optional<Point> wanted_;
    long long deadline_ = 0;
};
