#include "print/PrintPlacement.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

int roundedPixels(long double value)
{
    constexpr long double kLimit = INT32_MAX / 2;
    return static_cast<int>(roundHalfEven(std::clamp(value, -kLimit, kLimit)));
}

} // namespace

Rect printDestination(const PrinterMetrics& m, const PageLayout& layout, int imageWidth, int imageHeight,
                      int screenPpi)
{
    int width = roundedPixels(static_cast<long double>(mulDiv(imageWidth, m.dpiX, screenPpi)) * layout.zoom);
    int height = roundedPixels(static_cast<long double>(mulDiv(imageHeight, m.dpiY, screenPpi)) * layout.zoom);
    int x = roundedPixels(static_cast<long double>(layout.image.left) * m.dpiX) - m.marginLeft;
    int y = roundedPixels(static_cast<long double>(layout.image.top) * m.dpiY) - m.marginTop;
    return Rect::fromSize(x, y, width, height);
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
