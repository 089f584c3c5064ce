// Varied test images for the writers' tests: random, screenshot-like, photographic, in every pixel format.
#pragma once

#include "common/Bitmap.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testimages {

inline Bitmap random24(int w, int h, uint32_t seed)
{
    Bitmap b(w, h, PixelFormat::Bpp24);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        for (size_t i = 0; i < static_cast<size_t>(w) * 3; ++i) {
            b.row(y)[i] = static_cast<uint8_t>(rng());
        }
    }
    return b;
}

// Flat panels, a title bar and text-like strokes: what screen captures look like.
inline Bitmap screenshot24(int w, int h)
{
    Bitmap b(w, h, PixelFormat::Bpp24);
    b.fillRect({0, 0, w, h}, makeColor(236, 233, 216));
    b.fillRect({0, 0, w, std::min(h, 18)}, makeColor(10, 36, 106));
    for (int y = 24; y + 8 < h; y += 14) {
        for (int x = 6; x + 3 < w; x += 7) {
            if ((x * 7 + y * 3) % 5 != 0) {
                b.fillRect({x, y, x + 4, y + 8}, makeColor(0, 0, 0));
            }
        }
    }
    return b;
}

// Smooth gradients with a little noise, like a photograph.
inline Bitmap photo24(int w, int h, uint32_t seed = 7)
{
    Bitmap b(w, h, PixelFormat::Bpp24);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = b.row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            double fx = static_cast<double>(x) / std::max(1, w);
            double fy = static_cast<double>(y) / std::max(1, h);
            int r = static_cast<int>(128 + 100 * std::sin(6 * fx + 2 * fy)) + noise(rng);
            int g = static_cast<int>(128 + 90 * std::cos(4 * fy - 3 * fx)) + noise(rng);
            int bl = static_cast<int>(100 + 80 * std::sin(5 * (fx + fy))) + noise(rng);
            p[0] = static_cast<uint8_t>(std::clamp(bl, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
        }
    }
    return b;
}

// An indexed image with a colourful table and random indices.
inline Bitmap randomIndexed(int w, int h, PixelFormat format, uint32_t seed)
{
    Bitmap b(w, h, format);
    std::mt19937 rng(seed);
    int entries = 1 << bitsPerPixel(format);
    std::vector<RgbQuad> table(static_cast<size_t>(entries));
    for (auto& q : table) {
        q = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
    }
    b.setColorTable(table);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.setPixelValue(x, y, static_cast<uint32_t>(rng()) % static_cast<uint32_t>(entries));
        }
    }
    return b;
}

inline Bitmap random32(int w, int h, uint32_t seed)
{
    Bitmap b = random24(w, h, seed).converted(PixelFormat::Bpp32);
    // The fourth byte must never reach a file: fill it with noise.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.row(y)[x * 4 + 3] = static_cast<uint8_t>(x * 31 + y);
        }
    }
    return b;
}

struct Case {
    std::string name;
    Bitmap image;
};

// The images every round trip runs on.
inline std::vector<Case> varied()
{
    return {
        {"random_97x31", random24(97, 31, 1)},
        {"screenshot_203x77", screenshot24(203, 77)},
        {"photo_160x90", photo24(160, 90)},
        {"one_pixel", random24(1, 1, 2)},
        {"odd_width_13x5", random24(13, 5, 3)},
        {"tall_3x40", photo24(3, 40)},
        {"bits1_21x9", randomIndexed(21, 9, PixelFormat::Bpp1, 4)},
        {"bits4_27x11", randomIndexed(27, 11, PixelFormat::Bpp4, 5)},
        {"bits8_33x7", randomIndexed(33, 7, PixelFormat::Bpp8, 6)},
        {"bits32_19x6", random32(19, 6, 7)},
    };
}

} // namespace testimages
