// Keeps a window where the program shows it when a compositor places it elsewhere as it maps it
// (sway centres every floating X11 window it maps): once the compositor has mapped the window, the
// place is asked for again by the compositor's own means. Where the window manager grants the
// place, nothing is asked.
#pragma once

#include "platform/Clock.h"
#include "platform/WindowManager.h"

#include <memory>

class MapPlacement {
public:
    // Both outlive this object; `windowManager` may be null (no desktop to ask).
    MapPlacement(WindowManager* windowManager, Clock& clock) : windowManager_(windowManager), clock_(clock) {}

    // The window is about to be mapped with its top-left pixel at `origin`.
    void showing(NativeWindow window, Point origin);
    // The user takes the window: from now on its place is the user's.
    void forget();

private:
    void check();

    WindowManager* windowManager_;
    Clock& clock_;
    std::unique_ptr<RepeatingTimer> timer_;
    NativeWindow window_ = 0;
    Point wanted_;
    long long deadline_ = 0;
};
