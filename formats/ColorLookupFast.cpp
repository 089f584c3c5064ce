#include "formats/ColorLookup.h"

#include <algorithm>
#include <cstdlib>

FastColorLookup::FastColorLookup(std::span<const PaletteEntry> palette)
    : ColorLookup(static_cast<int>(std::min<size_t>(palette.size(), 256))), cache_(kCacheSize, -1)
{
    for (int i = 0; i < colorCount_; ++i) {
        const PaletteEntry& e = palette[static_cast<size_t>(i)];
        entries_[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), e.red, e.green, e.blue};
        int16_t& cell = cache_[static_cast<size_t>(ColorKey(e.red, e.green, e.blue))];
        if (cell < 0) {
            cell = static_cast<int16_t>(i);
        }
    }
}

int16_t FastColorLookup::SearchNearest(uint8_t red, uint8_t green, uint8_t blue) const
{
    int best = 0;
    int bestDistance = 196608;
    for (int i = 0; i < colorCount_; ++i) {
        const ColorMatch& e = entries_[static_cast<size_t>(i)];
        int distance = std::abs(e.red - red) + std::abs(e.green - green) + std::abs(e.blue - blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<int16_t>(best);
}
