// Colours as 24-bit values in a 32-bit integer, 0x00BBGGRR (red in the low byte).
#pragma once

#include <cstdint>

using ColorRef = uint32_t;

constexpr ColorRef makeColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) | (static_cast<ColorRef>(blue) << 16);
}
constexpr uint8_t redOf(ColorRef c)
{
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t greenOf(ColorRef c)
{
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t blueOf(ColorRef c)
{
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// The default background of the editor, the Save As window and the Print Preview.
constexpr ColorRef kDefaultBackground = 8421376; // 0x808000: red 0, green 128, blue 128
