// The Capture Frame's geometry as plain arithmetic: band width, stored bounds, hole, edges for resizing.
#pragma once

#include "common/Geometry.h"

#include <cstdint>

// Sides of the frame that follow the pointer while resizing; combined for corners.
enum FrameEdge : unsigned { kEdgeNone = 0, kEdgeLeft = 1, kEdgeTop = 2, kEdgeRight = 4, kEdgeBottom = 8 };

// The largest outer width or height the frame takes. Far beyond any desktop, yet small enough that
// the frame buffer and the window system's own buffers for it can be allocated.
constexpr int kMaxFrameExtent = 16384;
// The frame's position is kept within what X11 can place (16-bit coordinates).
constexpr int kMinFramePosition = -32768;

// Width of the band around the hole: 14 pixels per 96 pixels per inch, halves to even.
int borderWidthForPixelsPerInch(int pixelsPerInch);

// Smallest client width and height: the hole stays at least 1 x 1.
inline int minimumClientExtent(int borderWidth)
{
    return 2 * borderWidth + 1;
}

// The window's outer bounds and unit as stored in the settings.
struct FrameSettings {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int32_t units = 0;
    friend bool operator==(const FrameSettings&, const FrameSettings&) = default;
};

// Where the frame's defaults and corrections come from: the primary monitor and the rectangle that
// all monitors span. A screen of one monitor is both.
struct FrameDesktop {
    FrameDesktop(Size screen) // NOLINT(google-explicit-constructor): one monitor is the common case
        : primary(Rect::fromSize(0, 0, screen.width, screen.height)), desktop(primary)
    {
    }
    FrameDesktop(Rect primaryMonitor, Rect wholeDesktop) : primary(primaryMonitor), desktop(wholeDesktop) {}
    Rect primary;
    Rect desktop;
};

// Defaults for a first start: a quarter of the primary monitor in from its top-left, half of it in size.
FrameSettings defaultFrameSettings(const FrameDesktop& screens);
// The corrections applied after reading: a left beyond the desktop's right edge (or a top beyond its
// bottom) goes back to its default; sizes are brought within what a frame can be.
FrameSettings correctedFrameSettings(FrameSettings stored, const FrameDesktop& screens, int borderWidth);

// A client size no smaller than the minimum and no larger than kMaxFrameExtent each way.
Size clampedClientSize(Size client, int borderWidth);

// The hole in client coordinates (right and bottom exclusive).
Rect holeRect(Size client, int borderWidth);
// The hole in screen coordinates: what a frame capture copies.
Rect captureRect(Point clientOrigin, Size client, int borderWidth);

// Which edges a press at `point` (client coordinates) would drag: within `margin` pixels of an
// outer edge, or of one edge and within the band's width of the neighbouring edge (a corner).
unsigned frameEdgesAt(Point point, Size client, int margin, int borderWidth);

// The frame's bounds after the pointer moved by (dx, dy) while dragging `edges`: the opposite
// edges stay put, and the size stays within the minimum and kMaxFrameExtent.
Rect resizedFrame(Rect start, unsigned edges, int dx, int dy, int borderWidth);
