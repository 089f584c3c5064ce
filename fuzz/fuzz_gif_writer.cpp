// Drives colour reduction and the GIF writer with small random pictures and random settings,
// including settings out of range; only ZentrapError may come out, and a written file is framed as GIF.
#include "common/ZentrapError.h"
#include "formats/GifFormat.h"
#include "fuzz/FuzzReader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

PixelFormat formatOf(uint8_t code)
{
    constexpr PixelFormat kFormats[] = {PixelFormat::Bpp24, PixelFormat::Bpp8, PixelFormat::Bpp4, PixelFormat::Bpp1,
                                        PixelFormat::Bpp32};
    return kFormats[code % 5];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    int width = in.byte() % 48;
    int height = in.byte() % 48;
    PixelFormat format = formatOf(in.byte());
    uint8_t settings = in.byte();
    GifOptions options;
    // Mostly valid codes, sometimes one past either end.
    options.paletteMode = static_cast<int>(in.byte() % 10);
    options.colorCount = (settings & 0x80) ? static_cast<int>(in.byte()) * 2 : 8 << (in.byte() % 6);
    options.ditherMode = static_cast<int>(in.byte() % 8) - (settings & 1);
    options.compression = static_cast<int>(in.byte() % 3);
    options.transparent = (settings & 0x02) != 0;
    options.pickX = static_cast<int8_t>(in.byte());
    options.pickY = static_cast<int8_t>(in.byte());
    int tableSize = in.byte();

    Bitmap picture(width, height, format);
    if (bitsPerPixel(format) <= 8 && tableSize > 0) {
        std::vector<RgbQuad> table(static_cast<size_t>(tableSize));
        for (auto& q : table) {
            q = {in.byte(), in.byte(), in.byte(), 0};
        }
        picture.setColorTable(std::move(table));
    }
    size_t bytes = picture.byteCount();
    if (bytes > 0 && in.left() > 0) {
        // Repeat the rest of the input over the pixels so that small inputs still fill them.
        for (size_t i = 0; i < bytes; ++i) {
            picture.bits()[i] = in.rest()[i % in.left()];
        }
    }
    try {
        VectorSink sink;
        Bitmap rendered;
        writeGifVariant(picture, options, sink, &rendered);
        if (sink.bytes.size() < 14 || std::memcmp(sink.bytes.data(), "GIF8", 4) != 0 || sink.bytes.back() != 0x3B) {
            __builtin_trap();
        }
    } catch (const ZentrapError&) {
        // Bad settings and indices outside the colour table are reported, not crashed on.
    }
    return 0;
}
