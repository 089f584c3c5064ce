#include "editor/SelectionMarks.h"

#include <algorithm>

namespace {

void invertPixel(Bitmap& image, int x, int y)
{
    uint8_t* pixel = image.row(y) + static_cast<size_t>(x) * 3;
    pixel[0] = static_cast<uint8_t>(255 - pixel[0]);
    pixel[1] = static_cast<uint8_t>(255 - pixel[1]);
    pixel[2] = static_cast<uint8_t>(255 - pixel[2]);
}

// The dash counter runs 0..7; positions 0..3 are drawn.
int nextDashStep(int counter)
{
    return counter < 7 ? counter + 1 : 0;
}

// The marked edges: inclusive pixel columns and rows, clipped to the image. The edges of a selection
// that ends on the image's right or bottom edge lie on its last column or row.
struct MarkEdges {
    int left;
    int right;
    int top;
    int bottom;
    bool exist() const { return left <= right && top <= bottom; }
};

MarkEdges markEdges(Size image, const Selection& s)
{
    return {std::max(0, std::min(s.x1, s.x2)), std::min(image.width - 1, std::max(s.x1, s.x2)),
            std::max(0, std::min(s.y1, s.y2)), std::min(image.height - 1, std::max(s.y1, s.y2))};
}

} // namespace

Rect Selection::area() const
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

std::array<Rect, 4> markStrips(Size image, const Selection& selection)
{
    const MarkEdges e = markEdges(image, selection);
    if (selection.isNone() || !e.exist()) {
        return {};
    }
    return {Rect{e.left, e.top, e.right + 1, e.top + 1}, Rect{e.left, e.bottom, e.right + 1, e.bottom + 1},
            Rect{e.left, e.top, e.left + 1, e.bottom + 1}, Rect{e.right, e.top, e.right + 1, e.bottom + 1}};
}

void toggleMarks(Bitmap& image, const Selection& selection, int phase)
{
    if (image.isEmpty() || image.pixelFormat() != PixelFormat::Bpp24) {
        return;
    }
    // Only when both the columns and the rows of the edges lie inside the image: a selection that
    // runs along the image's right or bottom edge would otherwise mark a row or column past it.
    const MarkEdges e = markEdges({image.width(), image.height()}, selection);
    if (!e.exist()) {
        return;
    }
    int counter = phase;
    for (int x = e.left; x <= e.right; ++x) {
        if (counter <= 3) {
            invertPixel(image, x, e.top);
            invertPixel(image, x, e.bottom);
        }
        counter = nextDashStep(counter);
    }
    counter = phase;
    for (int y = e.top; y <= e.bottom; ++y) {
        if (counter <= 3) {
            invertPixel(image, e.left, y);
            invertPixel(image, e.right, y);
        }
        counter = nextDashStep(counter);
    }
}
