#include "formats/GifColorMap.h"

#include "common/ZentrapError.h"

#include <algorithm>

int TGIFColorMap::CapacityFor(int count)
{
    if (count <= 16) {
        return 16;
    }
    return std::min((count + 31) / 32 * 32, kMaxColors);
}

int TGIFColorMap::Add(TGIFColor color)
{
    if (Count() >= kMaxColors) {
        throw ZentrapError("Color table overflow");
    }
    if (Count() + 1 > FCapacity) {
        FCapacity = CapacityFor(Count() + 1);
        FColors.reserve(static_cast<size_t>(FCapacity));
    }
    FColors.push_back(color);
    return Count() - 1;
}

int TGIFColorMap::IndexOf(TGIFColor color) const
{
    auto it = std::find(FColors.begin(), FColors.end(), color);
    return it == FColors.end() ? -1 : static_cast<int>(it - FColors.begin());
}

void TGIFColorMap::Clear()
{
    FColors.clear();
    FColors.shrink_to_fit();
    FCapacity = 0;
    FSorted = false;
}

int TGIFColorMap::BitsPerPixel() const
{
    if (FColors.empty()) {
        return 0;
    }
    int bits = 1;
    while ((1 << bits) < Count()) {
        ++bits;
    }
    return bits;
}

void TGIFColorMap::WriteTable(ByteSink& sink) const
{
    std::vector<uint8_t> bytes(static_cast<size_t>(3) << BitsPerPixel(), 0);
    for (size_t i = 0; i < FColors.size(); ++i) {
        bytes[i * 3] = FColors[i].Red;
        bytes[i * 3 + 1] = FColors[i].Green;
        bytes[i * 3 + 2] = FColors[i].Blue;
    }
    if (!FColors.empty()) {
        sink.write(bytes.data(), bytes.size());
    }
}
