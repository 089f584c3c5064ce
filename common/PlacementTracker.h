// The position a window writes back to its settings: where it was placed, then where the user
// moves it. The move reported when the window is first shown is where the window manager put it,
// a few pixels off with some managers; taking it would make the window creep at each opening.
#pragma once

#include "common/Geometry.h"

class PlacementTracker {
public:
    // The window was put at `at` by the program (restored, or corrected onto the screen).
    void placed(Point at) { position_ = at; }
    // The window system reported the shown window at `at`. True for the report that follows
    // mapping, which is not taken; a maximized window's position is not its own either.
    bool moved(Point at, bool maximized);

    Point position() const { return position_; }

private:
    Point position_;
    bool mappingReported_ = false;
};
