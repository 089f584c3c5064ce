// Turns rows of a display's native image format into the 24-bit blue, green, red rows of a Bitmap.
#pragma once

#include "common/Bitmap.h"

#include <array>
#include <cstdint>
#include <vector>

// How the display lays out one pixel of a grabbed image.
struct ScreenPixelLayout {
    int bitsPerPixel = 32; // 8, 16, 24 or 32
    bool msbFirst = false; // the image's byte order
    bool indexed = false;  // pixel values index the colormap
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0x00FF00;
    uint32_t blueMask = 0x0000FF;
};

// Blue, green, red, pad bytes (the usual 24-bit-depth layout) to blue, green, red.
void bgrxToBgr(const uint8_t* src, uint8_t* dst, int width);

class ScreenRowConverter {
public:
    // `colormap` is used for indexed layouts; values past its end become black.
    explicit ScreenRowConverter(const ScreenPixelLayout& layout, const std::vector<PaletteEntry>& colormap = {});

    // False for layouts this cannot read (bit depths other than 8, 16, 24, 32).
    bool isSupported() const { return supported_; }
    void convert(const uint8_t* src, uint8_t* dst, int width) const;

private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        uint32_t maximum = 0; // mask >> shift
    };
    static Channel channelOf(uint32_t mask);
    static uint8_t scaled(uint32_t pixel, const Channel& channel);
    uint32_t pixelAt(const uint8_t* src, int x) const;

    ScreenPixelLayout layout_;
    bool supported_ = false;
    bool bgrxFastPath_ = false;
    Channel red_, green_, blue_;
    std::array<std::array<uint8_t, 3>, 256> lookup_{}; // blue, green, red per index
};
