// Taking a window off the screen before a grab of the area it covers, and waiting until the
// programs behind it have repainted that area, rather than for a fixed time.
#pragma once

#include "common/Geometry.h"
#include "platform/Clock.h"
#include "platform/ScreenSource.h"
#include "platform/UncoverWatch.h"

#include <functional>

struct RepaintWaitOutcome {
    // From the hide request to the end of the wait.
    long long milliseconds = 0;
    // False when the limit ended the wait before the area settled.
    bool settled = false;
};

struct RepaintWaitRule {
    // Slow programs get this long, and never longer, as they always did.
    int limitMilliseconds = 300;
    // The pause between two looks at the display.
    int pollMilliseconds = 5;
    // Once painted, the area must look the same in this many grabs in a row, so that a window
    // painted in several steps is seen whole.
    int stillGrabs = 3;
};

// Hides the window through `hide` and returns once the screen in `covered` (the part of the
// grabbed rectangle that the window covers) shows what is behind it, repainted. `outer` is the
// window's outermost frame, which `watch` follows off the screen.
RepaintWaitOutcome hideAndWaitForRepaint(Rect covered, NativeWindow outer, const std::function<void()>& hide,
                                         UncoverWatch& watch, ScreenSource& screen, Clock& clock,
                                         RepaintWaitRule rule = {});
