// Colour mapping for colour reduction: from a 24-bit colour to a palette index and that entry's colour.
#pragma once

#include "common/Bitmap.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// A palette as colour reduction builds it: red, green, blue per entry (flags unused).
using ColorPalette = std::vector<PaletteEntry>;

// The palette index chosen for a colour, and the colour of that entry.
struct ColorMatch {
    uint8_t index = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

class ColorLookup {
public:
    explicit ColorLookup(int colorCount) : colorCount_(colorCount) {}
    virtual ~ColorLookup() = default;
    ColorLookup(const ColorLookup&) = delete;
    ColorLookup& operator=(const ColorLookup&) = delete;

    int ColorCount() const { return colorCount_; }
    virtual ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) = 0;

protected:
    int colorCount_;
};

// Nearest palette entry by |dr| + |dg| + |db|, cached per 15-bit colour key: every colour of a key
// gets the entry chosen for the first colour of that key that asked (or the palette's own entry).
class FastColorLookup final : public ColorLookup {
public:
    static constexpr int kCacheSize = 32768;

    explicit FastColorLookup(std::span<const PaletteEntry> palette);

    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override { return Lookup(red, green, blue); }

    // The same as MapColor without the virtual call, for the colour-reduction loop.
    ColorMatch Lookup(uint8_t red, uint8_t green, uint8_t blue)
    {
        int key = ColorKey(red, green, blue);
        int16_t cached = cache_[static_cast<size_t>(key)];
        if (cached < 0) {
            cached = SearchNearest(red, green, blue);
            cache_[static_cast<size_t>(key)] = cached;
        }
        return entries_[static_cast<size_t>(cached)];
    }

    static int ColorKey(uint8_t red, uint8_t green, uint8_t blue)
    {
        return ((blue >> 3) << 10) | ((green >> 3) << 5) | (red >> 3);
    }

private:
    int16_t SearchNearest(uint8_t red, uint8_t green, uint8_t blue) const;

    std::array<ColorMatch, 256> entries_{};
    std::vector<int16_t> cache_;
};

// The 6 x 6 x 6 cube: level (component + 3) div 51 per channel.
class NetscapeColorLookup final : public ColorLookup {
public:
    NetscapeColorLookup() : ColorLookup(216) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};

// 256 greys by the weights 77, 150, 29 (sum 256).
class GrayScaleLookup final : public ColorLookup {
public:
    GrayScaleLookup() : ColorLookup(256) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};

// Black or white by the same weights, white from a weighted sum of 32513 on.
class MonochromeLookup final : public ColorLookup {
public:
    MonochromeLookup() : ColorLookup(2) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};
