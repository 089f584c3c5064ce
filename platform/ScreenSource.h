// The screen's pixels, its palette and the mouse cursor, as the screen grabber needs them.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"
#include "common/MonitorLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A cursor image as the user sees it: premultiplied ARGB, with its hot spot.
struct CursorImage {
    int width = 0;
    int height = 0;
    int xHotspot = 0;
    int yHotspot = 0;
    std::vector<uint32_t> argb; // width * height, row by row from the top
};

class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    virtual Size primaryScreenSize() const = 0;
    // False when the screen cannot be read at all (no display connection).
    virtual bool isAvailable() const = 0;
    // The display's palette when it is palette-based (PseudoColor), else nothing.
    virtual std::optional<std::vector<PaletteEntry>> systemPalette() = 0;
    // Copies the screen rectangle into `target` (24 bits, already sized) at (0, 0); parts of the
    // rectangle outside the screen leave the target's pixels as they were. False when the screen
    // gave no pixels (unreadableReason() then says why).
    virtual bool copyPixels(int left, int top, int width, int height, Bitmap& target) = 0;
    // True when the desktop draws the pointer into its own picture (where the X server cannot tell
    // where the pointer is): copyPixelsWithCursor then gives the pixels with it, and the grabber
    // draws none itself.
    virtual bool desktopDrawsCursor() const { return false; }
    virtual bool copyPixelsWithCursor(int left, int top, int width, int height, Bitmap& target)
    {
        return copyPixels(left, top, width, height, target);
    }
    // Why the screen's pixels cannot be had, in words for the user; empty while they can.
    virtual std::string unreadableReason() const { return {}; }
    // True when the pixels are the desktop's composed picture, in which the program's own windows
    // (the Capture Frame's hole too) cover what lies below: they must be hidden for a capture.
    virtual bool picturesShowOwnWindows() const { return false; }
    virtual std::optional<Point> cursorPosition() = 0;
    // The cursor of the window under the pointer; nothing when it cannot be read.
    virtual std::optional<CursorImage> currentCursor() = 0;
    // The monitors, the primary first; by default one, the whole primary screen.
    virtual std::vector<Monitor> monitors() const { return {}; }
    MonitorLayout monitorLayout() const { return {monitors(), primaryScreenSize()}; }
    // The parts of the monitors that windows may use (panels left out), the primary first; stored
    // window placements are corrected to them.
    std::vector<Rect> availableAreas() const { return monitorLayout().availableAreas(); }
};
