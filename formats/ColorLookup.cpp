#include "formats/ColorLookup.h"

namespace {

int weightedSum(uint8_t red, uint8_t green, uint8_t blue)
{
    return 77 * red + 150 * green + 29 * blue;
}

} // namespace

ColorMatch NetscapeColorLookup::MapColor(uint8_t red, uint8_t green, uint8_t blue)
{
    int r = (red + 3) / 51;
    int g = (green + 3) / 51;
    int b = (blue + 3) / 51;
    return {static_cast<uint8_t>(36 * r + 6 * g + b), static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g),
            static_cast<uint8_t>(51 * b)};
}

ColorMatch GrayScaleLookup::MapColor(uint8_t red, uint8_t green, uint8_t blue)
{
    auto gray = static_cast<uint8_t>(weightedSum(red, green, blue) >> 8);
    return {gray, gray, gray, gray};
}

ColorMatch MonochromeLookup::MapColor(uint8_t red, uint8_t green, uint8_t blue)
{
    if (weightedSum(red, green, blue) >= 32513) {
        return {1, 255, 255, 255};
    }
    return {0, 0, 0, 0};
}
