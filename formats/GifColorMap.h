// The colour tables of a GIF file: up to 256 red, green, blue entries growing in fixed capacity steps.
#pragma once

#include "common/ByteSink.h"

#include <cstdint>
#include <vector>

struct GifColor {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    friend bool operator==(const GifColor&, const GifColor&) = default;
};

class GifColorMap {
public:
    static constexpr int kMaxColors = 256;

    virtual ~GifColorMap() = default;

    int Count() const { return static_cast<int>(colors_.size()); }
    bool Empty() const { return colors_.empty(); }
    // Entries the map holds room for: 16 up to 16 entries, else a multiple of 32, at most 256.
    int Capacity() const { return capacity_; }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted) { sorted_ = sorted; }

    // Appends an entry and returns its index; fails with "Color table overflow" past 256.
    int Add(GifColor color);
    // Index of the first entry of that colour, or -1.
    int IndexOf(GifColor color) const;
    void Clear();

    const GifColor& operator[](int index) const { return colors_[static_cast<size_t>(index)]; }
    GifColor& operator[](int index) { return colors_[static_cast<size_t>(index)]; }

    // 0 for an empty map, else the smallest n >= 1 with 2^n >= Count().
    int BitsPerPixel() const;
    int ColorResolution() const { return BitsPerPixel() - 1; }

    // The entries, then zero entries up to 2^BitsPerPixel().
    void WriteTable(ByteSink& sink) const;

private:
    static int CapacityFor(int count);

    std::vector<GifColor> colors_;
    int capacity_ = 0;
    bool sorted_ = false;
};

class GifGlobalColorMap final : public GifColorMap {};
class GifLocalColorMap final : public GifColorMap {};
