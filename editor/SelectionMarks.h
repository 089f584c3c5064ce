// The editor's selection rectangle and its moving marks, drawn by inverting the image's own pixels.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"

#include <array>
#include <cstdint>

// Corners in pixel edges (0 to width, 0 to height): (x1, y1) where the drag began, (x2, y2) the
// moving corner. All zero means no selection.
struct Selection {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;

    bool isNone() const { return x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0; }
    // Crop is possible exactly when both sides have a length.
    bool hasArea() const { return x1 != x2 && y1 != y2; }
    // The selected pixels, right and bottom edges excluded.
    Rect area() const;
    friend bool operator==(const Selection&, const Selection&) = default;
};

// The four one-pixel strips (top, bottom, left, right edge) that toggleMarks may change; empty
// strips when there is nothing to mark. A view repaints only these after moving the marks.
std::array<Rect, 4> markStrips(Size image, const Selection& selection);

// Dashes of 4 inverted pixels and 4 untouched ones along the selection's border, shifted by `phase`
// (0 to 7). The call is its own inverse, so the same call draws and erases the marks.
void toggleMarks(Bitmap& image, const Selection& selection, int phase);
