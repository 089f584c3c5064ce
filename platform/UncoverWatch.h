// What the display tells while a window leaves the screen before a grab of the area it covered:
// the moment its outermost frame is gone, and whether programs have painted there since.
#pragma once

#include "common/Geometry.h"
#include "platform/WindowManager.h"

class UncoverWatch {
public:
    virtual ~UncoverWatch() = default;

    // Starts watching `outer` (the window's outermost frame, see WindowManager::framedWindow) and
    // the drawing in `area`, in screen pixels. Call it before the window is hidden.
    virtual void start(NativeWindow outer, Rect area) = 0;
    // Whether `outer` has left the screen (reads what the display has reported so far).
    virtual bool uncovered() = 0;
    // Whether some window, rather than only the bare desktop background that the display paints
    // itself, shows in the area now (a window's shape counts, so its holes show what is below).
    virtual bool windowBehind() = 0;
    // Whether something has been drawn in the area since it was uncovered.
    virtual bool paintedSinceUncovered() = 0;
    virtual void stop() = 0;
};
