#include "print/PrintPlacement.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixel values stay far from the int range's ends, so that a rectangle's right and bottom exist.
constexpr int64_t kPixelLimit = INT32_MAX / 4;

int roundedPixels(long double value)
{
    return static_cast<int>(roundHalfEven(std::clamp<long double>(value, -kPixelLimit, kPixelLimit)));
}

int shifted(int value, int by)
{
    return static_cast<int>(std::clamp<int64_t>(int64_t(value) - by, -kPixelLimit, kPixelLimit));
}

} // namespace

Rect printDestination(const PrinterMetrics& m, const PageLayout& layout, int imageWidth, int imageHeight, int screenPpi)
{
    int width = roundedPixels(static_cast<long double>(mulDiv(imageWidth, m.dpiX, screenPpi)) * layout.zoom);
    int height = roundedPixels(static_cast<long double>(mulDiv(imageHeight, m.dpiY, screenPpi)) * layout.zoom);
    int x = shifted(roundedPixels(static_cast<long double>(layout.image.left) * m.dpiX), m.marginLeft);
    int y = shifted(roundedPixels(static_cast<long double>(layout.image.top) * m.dpiY), m.marginTop);
    return Rect::fromSize(x, y, std::max(width, 0), std::max(height, 0));
}

int copiesFromText(const std::string& text, const NumberFormat& numbers)
{
    auto copies = numbers.parseInteger(text);
    if (!copies) {
        // A whole number past 32 bits is absurd, not unreadable.
        auto value = numbers.parseDecimal(text);
        return value && *value > kMaxCopies && std::floor(*value) == *value ? kMaxCopies : 1;
    }
    if (*copies < 1) {
        return 1;
    }
    return std::min(*copies, kMaxCopies);
}
