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

} // namespace

Rect Selection::area() const
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void toggleMarks(Bitmap& image, const Selection& selection, int phase)
{
    if (image.isEmpty() || image.pixelFormat() != PixelFormat::Bpp24) {
        return;
    }
    const int left = std::max(0, std::min(selection.x1, selection.x2));
    const int right = std::min(image.width() - 1, std::max(selection.x1, selection.x2));
    const int top = std::max(0, std::min(selection.y1, selection.y2));
    const int bottom = std::min(image.height() - 1, std::max(selection.y1, selection.y2));
    if (right >= left && top <= bottom) {
        int counter = phase;
        for (int x = left; x <= right; ++x) {
            if (counter <= 3) {
                invertPixel(image, x, top);
                invertPixel(image, x, bottom);
            }
            counter = nextDashStep(counter);
        }
    }
    if (bottom >= top && left <= right) {
        int counter = phase;
        for (int y = top; y <= bottom; ++y) {
            if (counter <= 3) {
                invertPixel(image, left, y);
                invertPixel(image, right, y);
            }
            counter = nextDashStep(counter);
        }
    }
}
