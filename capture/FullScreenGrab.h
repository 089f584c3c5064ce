// A full-screen capture: the monitor that the user works on, or every monitor of the desktop.
#pragma once

#include "common/Bitmap.h"
#include "common/MonitorLayout.h"
#include "platform/ScreenSource.h"

// Grabs the monitor at `anchor` (where the Remote Control is, or the pointer when it is out of
// sight), or with `allMonitors` the rectangle all monitors span, whose parts that no monitor shows
// are black. Returns the area grabbed, in screen pixels.
Rect GrabFullScreen(Point anchor, bool allMonitors, Bitmap& bitmap, bool withCursor, ScreenSource& screen);
