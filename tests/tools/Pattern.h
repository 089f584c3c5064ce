// The test pattern that zentrap-test-pattern shows: the colour of every pixel is a function of its
// position in the window, so a test can compute the pixels a grab must return. This is its only
// definition: the Python checks take reference pictures and positions from zentrap-test-pattern.
#pragma once

#include <cstdint>

namespace test_pattern {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// (x, y) relative to the window's top-left pixel. Red and green are the low bytes of x and y;
// blue tells the 256-pixel tiles apart, so positions up to 4096 x 4096 give distinct colours.
constexpr Rgb colorAt(int x, int y)
{
    return {static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF),
            static_cast<uint8_t>((((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4)) ^ 0xA5)};
}

struct Position {
    int x;
    int y;
};

// The window pixel that shows colour c (the inverse of colorAt for positions up to 4096 x 4096).
constexpr Position positionOf(Rgb c)
{
    const int tiles = c.blue ^ 0xA5;
    return {c.red + 256 * (tiles & 0x0F), c.green + 256 * (tiles >> 4)};
}

} // namespace test_pattern
