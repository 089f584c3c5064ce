// Drives colour reduction and the GIF writer with small random pictures and random settings,
// including settings out of range; only ZentrapError may come out, and a written file is framed as GIF.
#include "common/ZentrapError.h"
#include "formats/GifFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    size_t Remaining() const { return size_ - pos_; }
    const uint8_t* Rest() const { return data_ + pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

PixelFormat formatOf(uint8_t code)
{
    constexpr PixelFormat kFormats[] = {PixelFormat::Bpp24, PixelFormat::Bpp8, PixelFormat::Bpp4, PixelFormat::Bpp1,
                                        PixelFormat::Bpp32};
    return kFormats[code % 5];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    int width = in.Byte() % 48;
    int height = in.Byte() % 48;
    PixelFormat format = formatOf(in.Byte());
    uint8_t settings = in.Byte();
    GifOptions options;
    // Mostly valid codes, sometimes one past either end.
    options.paletteMode = static_cast<int>(in.Byte() % 10);
    options.colorCount = (settings & 0x80) ? static_cast<int>(in.Byte()) * 2 : 8 << (in.Byte() % 6);
    options.ditherMode = static_cast<int>(in.Byte() % 8) - (settings & 1);
    options.compression = static_cast<int>(in.Byte() % 3);
    options.transparent = (settings & 0x02) != 0;
    options.pickX = static_cast<int8_t>(in.Byte());
    options.pickY = static_cast<int8_t>(in.Byte());
    int tableSize = in.Byte();

    Bitmap picture(width, height, format);
    if (bitsPerPixel(format) <= 8 && tableSize > 0) {
        std::vector<RgbQuad> table(static_cast<size_t>(tableSize));
        for (auto& q : table) {
            q = {in.Byte(), in.Byte(), in.Byte(), 0};
        }
        picture.setColorTable(std::move(table));
    }
    size_t bytes = picture.byteCount();
    if (bytes > 0 && in.Remaining() > 0) {
        // Repeat the rest of the input over the pixels so that small inputs still fill them.
        for (size_t i = 0; i < bytes; ++i) {
            picture.bits()[i] = in.Rest()[i % in.Remaining()];
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
