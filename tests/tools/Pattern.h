// The test pattern that zentrap-test-pattern shows: the colour of every pixel is a function of its
// position in the window, so a test can compute the pixels a grab must return.
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

} // namespace test_pattern
