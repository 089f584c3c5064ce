// A grab of the desktop rather than of the X screen: on several monitors, what no monitor shows
// (the dead corners beside a smaller monitor) is not screen and comes out black.
#pragma once

#include "common/Bitmap.h"
#include "platform/ScreenSource.h"

// GrabScreen of `area`, then, on a desktop of several monitors, the parts of `area` that no monitor
// shows are made black. False when the screen gave no pixels, as GrabScreen.
bool GrabDesktop(const Rect& area, Bitmap& bitmap, bool withCursor, ScreenSource& screen);
