// The colour tables of a GIF file: up to 256 red, green, blue entries growing in fixed capacity steps.
#pragma once

#include "common/ByteSink.h"

#include <cstdint>
#include <vector>

struct TGIFColor {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

class TGIFColorMap {
public:
    static constexpr int kMaxColors = 256;

    virtual ~TGIFColorMap() = default;

    int Count() const { return static_cast<int>(FColors.size()); }
    bool Empty() const { return FColors.empty(); }
    // Entries the map holds room for: 16 up to 16 entries, else a multiple of 32, at most 256.
    int Capacity() const { return FCapacity; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted) { FSorted = sorted; }

    // Appends an entry and returns its index; fails with "Color table overflow" past 256.
    int Add(TGIFColor color);
    // Index of the first entry of that colour, or -1.
    int IndexOf(TGIFColor color) const;
    void Clear();

    const TGIFColor& operator[](int index) const { return FColors[static_cast<size_t>(index)]; }
    TGIFColor& operator[](int index) { return FColors[static_cast<size_t>(index)]; }

    // 0 for an empty map, else the smallest n >= 1 with 2^n >= Count().
    int BitsPerPixel() const;
    int ColorResolution() const { return BitsPerPixel() - 1; }

    // The entries, then zero entries up to 2^BitsPerPixel().
    void WriteTable(ByteSink& sink) const;

private:
    static int CapacityFor(int count);

    std::vector<TGIFColor> FColors;
    int FCapacity = 0;
    bool FSorted = false;
};

class TGIFGlobalColorMap final : public TGIFColorMap {};
class TGIFLocalColorMap final : public TGIFColorMap {};
