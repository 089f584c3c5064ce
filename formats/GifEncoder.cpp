#include "formats/GifEncoder.h"

#include "common/ZentrapError.h"
#include "formats/LzwEncoder.h"
#include "formats/RleEncoder.h"

#include <algorithm>
#include <vector>

namespace {

// Rows in the four passes of an interlaced image: 0, 8, 16...; 4, 12...; 2, 6...; 1, 3, 5...
std::vector<uint8_t> interlacedOrder(std::span<const uint8_t> pixels, int width, int height)
{
    std::vector<uint8_t> ordered;
    ordered.reserve(pixels.size());
    constexpr int kStart[4] = {0, 4, 2, 1};
    constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            auto row = pixels.subspan(static_cast<size_t>(y) * static_cast<size_t>(width), static_cast<size_t>(width));
            ordered.insert(ordered.end(), row.begin(), row.end());
        }
    }
    return ordered;
}

} // namespace

std::unique_ptr<GifEncoder> CreateGifEncoder(GifCompression compression)
{
    if (compression == GifCompression::RLE) {
        return std::make_unique<RleEncoder>();
    }
    return std::make_unique<LzwEncoder>();
}

void WriteGifImageData(ByteSink& sink, std::span<const uint8_t> pixels, int width, int height, bool interlaced,
                       int bitsPerPixel, int colorCount, GifCompression compression)
{
    size_t pixelCount = width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
    if (pixels.size() < pixelCount) {
        pixelCount = 0; // no pixel data
    }
    pixels = pixels.first(pixelCount);
    if (!pixels.empty() && *std::max_element(pixels.begin(), pixels.end()) >= colorCount) {
        throw ZentrapError("Color not in color table");
    }
    int minCodeSize = std::max(bitsPerPixel, 2);
    sink.writeByte(static_cast<uint8_t>(minCodeSize));
    GifCodePacker packer(sink);
    std::unique_ptr<GifEncoder> encoder = CreateGifEncoder(compression);
    if (interlaced && !pixels.empty()) {
        std::vector<uint8_t> ordered = interlacedOrder(pixels, width, height);
        encoder->Encode(packer, ordered, minCodeSize);
    } else {
        encoder->Encode(packer, pixels, minCodeSize);
    }
    packer.Finish();
    sink.writeByte(0);
}
