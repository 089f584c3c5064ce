#include "common/PlacementCorrection.h"

#include <algorithm>
#include <cstdint>

namespace {

// A rectangle in 64-bit coordinates: stored values may be anywhere in the int range.
struct WideRect {
    int64_t left, top, right, bottom;
};

int64_t overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1)
{
    return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

bool showsEnoughOn(const WideRect& window, const Rect& screen)
{
    int64_t width = overlap(window.left, window.right, screen.left, screen.right);
    int64_t height = overlap(window.top, window.bottom, screen.top, screen.bottom);
    return width >= std::min<int64_t>(kMinVisiblePixels, window.right - window.left) &&
           height >= std::min<int64_t>(kMinVisiblePixels, window.bottom - window.top) && width > 0 && height > 0;
}

// The screen a window belongs to: the one holding its top-left corner when enough shows there,
// else the one showing the largest part of it among those showing enough.
const Rect* screenOf(const WideRect& window, const std::vector<Rect>& screens)
{
    const Rect* best = nullptr;
    int64_t bestArea = -1;
    for (const Rect& screen : screens) {
        if (!showsEnoughOn(window, screen)) {
            continue;
        }
        if (window.left >= screen.left && window.left < screen.right && window.top >= screen.top &&
            window.top < screen.bottom) {
            return &screen;
        }
        int64_t area = overlap(window.left, window.right, screen.left, screen.right) *
                       overlap(window.top, window.bottom, screen.top, screen.bottom);
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return best;
}

// What limits the size of a window shown on `screen`: that screen, or all of the screens when the
// window spans several of them.
Rect sizeLimitOf(const WideRect& window, const Rect& screen, const std::vector<Rect>& screens)
{
    int spanned = 0;
    Rect all = screen;
    for (const Rect& s : screens) {
        all = {std::min(all.left, s.left), std::min(all.top, s.top), std::max(all.right, s.right),
               std::max(all.bottom, s.bottom)};
        if (overlap(window.left, window.right, s.left, s.right) > 0 &&
            overlap(window.top, window.bottom, s.top, s.bottom) > 0) {
            ++spanned;
        }
    }
    return spanned > 1 ? all : screen;
}

} // namespace

Rect correctedPlacement(Point position, Size size, const std::vector<Rect>& screens, Point defaultTopLeft,
                        bool acrossScreens)
{
    int width = std::max(size.width, 1);
    int height = std::max(size.height, 1);
    if (screens.empty()) {
        return Rect{position.x, position.y, static_cast<int>(std::min<int64_t>(int64_t(position.x) + width, INT32_MAX)),
                    static_cast<int>(std::min<int64_t>(int64_t(position.y) + height, INT32_MAX))};
    }
    WideRect stored{position.x, position.y, int64_t(position.x) + width, int64_t(position.y) + height};
    if (const Rect* screen = screenOf(stored, screens)) {
        // Where it was, no larger than its screen's available area (or the desktop's, for a window
        // across several screens), if that still shows enough.
        const Rect limit = acrossScreens ? sizeLimitOf(stored, *screen, screens) : *screen;
        int limitedWidth = std::min(width, std::max(limit.width(), 1));
        int limitedHeight = std::min(height, std::max(limit.height(), 1));
        WideRect limited{position.x, position.y, int64_t(position.x) + limitedWidth,
                         int64_t(position.y) + limitedHeight};
        if (showsEnoughOn(limited, *screen)) {
            return Rect::fromSize(position.x, position.y, limitedWidth, limitedHeight);
        }
    }
    const Rect* home = &screens.front();
    for (const Rect& screen : screens) {
        if (screen.contains(defaultTopLeft)) {
            home = &screen;
            break;
        }
    }
    width = std::min(width, std::max(home->width(), 1));
    height = std::min(height, std::max(home->height(), 1));
    // The default place, moved just enough to keep the whole window on its screen.
    int left = std::clamp(defaultTopLeft.x, home->left, std::max(home->left, home->right - width));
    int top = std::clamp(defaultTopLeft.y, home->top, std::max(home->top, home->bottom - height));
    return Rect::fromSize(left, top, width, height);
}
