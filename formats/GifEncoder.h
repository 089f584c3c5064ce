// The coders of GIF image data: from pixel indices in output order to the codes of the data stream.
#pragma once

#include "formats/GifCodePacker.h"

#include <cstdint>
#include <memory>
#include <span>

enum class GifCompression { LZW = 0, RLE = 1 };

class GifEncoder {
public:
    virtual ~GifEncoder() = default;
    // Emits every code from the first clear code to the end code; `minCodeSize` is 2..8.
    virtual void Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize) = 0;
};

std::unique_ptr<GifEncoder> CreateGifEncoder(GifCompression compression);

// The image data of one sub-image: the minimum code size byte, the coded sub-blocks and the
// terminating zero byte. Fails with "Color not in color table" for an index not below `colorCount`.
void WriteGifImageData(ByteSink& sink, std::span<const uint8_t> pixels, int width, int height, bool interlaced,
                       int bitsPerPixel, int colorCount, GifCompression compression);
