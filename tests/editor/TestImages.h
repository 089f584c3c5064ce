// Images for the editor's algorithm tests: random noise, screenshot-like and photographic content.
#pragma once

#include "common/Bitmap.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testimages {

inline Bitmap randomImage(int width, int height, uint32_t seed)
{
    Bitmap b(width, height);
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            b.row(y)[x] = static_cast<uint8_t>(rng() & 0xFF);
        }
    }
    return b;
}

// Flat panels, one-pixel lines and dense black-on-white "text": hard edges that make filters overshoot.
inline Bitmap screenshotImage(int width, int height)
{
    Bitmap b(width, height);
    b.fillRect({0, 0, width, height}, makeColor(240, 240, 240));
    b.fillRect({0, 0, width, std::max(1, height / 8)}, makeColor(20, 60, 160));
    b.fillRect({width / 3, height / 3, width / 3 * 2, height / 3 * 2}, makeColor(255, 255, 255));
    for (int y = height / 3 + 2; y < height / 3 * 2 - 2; y += 4) {
        for (int x = width / 3 + 2; x < width / 3 * 2 - 2; ++x) {
            if (((x * 7 + y * 3) % 5) < 2) {
                b.setPixelValue(x, y, makeColor(0, 0, 0));
            }
        }
    }
    for (int x = 0; x < width; x += 9) {
        b.fillRect({x, 0, x + 1, height}, makeColor(128, 0, 0));
    }
    return b;
}

// Smooth gradients with a little noise.
inline Bitmap photoImage(int width, int height, uint32_t seed)
{
    Bitmap b(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = width > 1 ? double(x) / (width - 1) : 0.5;
            double v = height > 1 ? double(y) / (height - 1) : 0.5;
            int red = static_cast<int>(255 * u) + noise(rng);
            int green = static_cast<int>(127.5 + 120 * std::sin(6.0 * u + 3.0 * v)) + noise(rng);
            int blue = static_cast<int>(255 * v) + noise(rng);
            b.setPixelValue(x, y,
                            makeColor(static_cast<uint8_t>(std::clamp(red, 0, 255)),
                                      static_cast<uint8_t>(std::clamp(green, 0, 255)),
                                      static_cast<uint8_t>(std::clamp(blue, 0, 255))));
        }
    }
    return b;
}

// Every pixel different (up to 2^24 pixels), so that where a pixel went can be read off its colour.
inline Bitmap numberedImage(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y, static_cast<uint32_t>(y * width + x) & 0xFFFFFFU);
        }
    }
    return b;
}

// One row of grey levels (the same value in all three channels).
inline Bitmap greyRow(const std::vector<uint8_t>& values)
{
    Bitmap b(static_cast<int>(values.size()), 1);
    for (size_t x = 0; x < values.size(); ++x) {
        b.setPixelValue(static_cast<int>(x), 0, makeColor(values[x], values[x], values[x]));
    }
    return b;
}

struct NamedImage {
    std::string name;
    Bitmap image;
};

inline std::vector<NamedImage> variedImages()
{
    return {
        {"random 37x23", randomImage(37, 23, 1)}, {"screenshot 64x40", screenshotImage(64, 40)},
        {"photo 51x33", photoImage(51, 33, 2)},   {"odd 17x9", randomImage(17, 9, 3)},
        {"one wide 1x13", randomImage(1, 13, 4)}, {"one high 19x1", randomImage(19, 1, 5)},
        {"one pixel 1x1", randomImage(1, 1, 6)},  {"two by two", randomImage(2, 2, 7)},
    };
}

} // namespace testimages
