// Copies a rectangle of the screen into a 24-bit Bitmap, with the system palette of palette
// displays and, when asked, the mouse cursor drawn in as the user sees it.
#pragma once

#include "common/Bitmap.h"
#include "platform/ScreenSource.h"

#include <optional>

// A width or height of 0 (or less) leaves `bitmap` untouched. Otherwise `bitmap` becomes
// width x height at 24 bits; screen pixels fill it, and parts of the rectangle off the screen
// are black. False when the screen gave no pixels (no display, or a display that keeps them, as a
// Wayland desktop's XWayland does): the bitmap then holds no capture, and the source says why.
bool GrabScreen(int left, int top, int width, int height, Bitmap& bitmap, bool withCursor, ScreenSource& screen);

// The cursor that the window under the pointer shows; nothing when it cannot be read.
std::optional<CursorImage> CurrentCursor(ScreenSource& screen);

// Composes a premultiplied ARGB cursor image over a 24-bit bitmap with its top-left pixel at
// (x, y); the parts outside the bitmap are clipped.
void drawCursor(Bitmap& bitmap, const CursorImage& cursor, int x, int y);
