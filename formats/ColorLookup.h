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

class TColorLookup {
public:
    explicit TColorLookup(int colorCount) : FColorCount(colorCount) {}
    virtual ~TColorLookup() = default;
    TColorLookup(const TColorLookup&) = delete;
    TColorLookup& operator=(const TColorLookup&) = delete;

    int ColorCount() const { return FColorCount; }
    virtual ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) = 0;

protected:
    int FColorCount;
};

// Nearest palette entry by |dr| + |dg| + |db|, cached per 15-bit colour key: every colour of a key
// gets the entry chosen for the first colour of that key that asked (or the palette's own entry).
class TFastColorLookup final : public TColorLookup {
public:
    static constexpr int kCacheSize = 32768;

    explicit TFastColorLookup(std::span<const PaletteEntry> palette);

    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override { return Lookup(red, green, blue); }

    // The same as MapColor without the virtual call, for the colour-reduction loop.
    ColorMatch Lookup(uint8_t red, uint8_t green, uint8_t blue)
    {
        int key = ColorKey(red, green, blue);
        int16_t cached = FCache[static_cast<size_t>(key)];
        if (cached < 0) {
            cached = SearchNearest(red, green, blue);
            FCache[static_cast<size_t>(key)] = cached;
        }
        return FEntries[static_cast<size_t>(cached)];
    }

    static int ColorKey(uint8_t red, uint8_t green, uint8_t blue)
    {
        return ((blue >> 3) << 10) | ((green >> 3) << 5) | (red >> 3);
    }

private:
    int16_t SearchNearest(uint8_t red, uint8_t green, uint8_t blue) const;

    std::array<ColorMatch, 256> FEntries{};
    std::vector<int16_t> FCache;
};

// The 6 x 6 x 6 cube: level (component + 3) div 51 per channel.
class TNetscapeColorLookup final : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};

// 256 greys by the weights 77, 150, 29 (sum 256).
class TGrayScaleLookup final : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};

// Black or white by the same weights, white from a weighted sum of 32513 on.
class TMonochromeLookup final : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    ColorMatch MapColor(uint8_t red, uint8_t green, uint8_t blue) override;
};
