#include "formats/GifColorMap.h"

#include "common/ZentrapError.h"

#include <algorithm>

int GifColorMap::CapacityFor(int count)
{
    if (count <= 16) {
        return 16;
    }
    return std::min((count + 31) / 32 * 32, kMaxColors);
}

int GifColorMap::Add(GifColor color)
{
    if (Count() >= kMaxColors) {
        throw ZentrapError("Color table overflow");
    }
    if (Count() + 1 > capacity_) {
        capacity_ = CapacityFor(Count() + 1);
        colors_.reserve(static_cast<size_t>(capacity_));
    }
    colors_.push_back(color);
    return Count() - 1;
}

int GifColorMap::IndexOf(GifColor color) const
{
    auto it = std::find(colors_.begin(), colors_.end(), color);
    return it == colors_.end() ? -1 : static_cast<int>(it - colors_.begin());
}

void GifColorMap::Clear()
{
    colors_.clear();
    colors_.shrink_to_fit();
    capacity_ = 0;
    sorted_ = false;
}

int GifColorMap::BitsPerPixel() const
{
    if (colors_.empty()) {
        return 0;
    }
    int bits = 1;
    while ((1 << bits) < Count()) {
        ++bits;
    }
    return bits;
}

void GifColorMap::WriteTable(ByteSink& sink) const
{
    std::vector<uint8_t> bytes(static_cast<size_t>(3) << BitsPerPixel(), 0);
    for (size_t i = 0; i < colors_.size(); ++i) {
        bytes[i * 3] = colors_[i].Red;
        bytes[i * 3 + 1] = colors_[i].Green;
        bytes[i * 3 + 2] = colors_[i].Blue;
    }
    if (!colors_.empty()) {
        sink.write(bytes.data(), bytes.size());
    }
}
