// The placement a window keeps in the settings file, applied to the window: restored onto the
// screens, following the user's moves, the window manager's frame kept on the screens once it is
// known, and what to write back. Every window with a stored placement forwards its move events
// here, so that all of them are placed and corrected alike.
#pragma once

#include "common/PlacementTracker.h"
#include "common/WindowPlacement.h"

#include <functional>
#include <vector>

class QMoveEvent;
class QWidget;

class StoredWindowPlacement {
public:
    // `screens` gives the available areas of the screens, asked only when a placement is corrected.
    StoredWindowPlacement(QWidget& window, std::function<std::vector<Rect>()> screens);

    // Makes `minimum` the window's minimum size and puts the window where `stored` says, brought
    // onto the screens, at `defaultTopLeft` when no screen would show it.
    void restore(const WindowPlacement& stored, Size minimum, Point defaultTopLeft);
    // The window's move events, forwarded.
    void moved(const QMoveEvent& event);
    // What to write back: the position the user left the window at, its size when not maximized.
    WindowPlacement toStore(ColorRef background) const;

private:
    void place(const Rect& placed);
    void keepFrameOnScreens();

    QWidget& window_;
    std::function<std::vector<Rect>()> screens_;
    PlacementTracker tracker_;
};
