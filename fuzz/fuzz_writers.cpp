// Drives every output format's writer with small random bitmaps and settings; the JPEG preview
// decoder also gets the raw input. Only ZentrapError may come out, and the sizes must agree.
#include "common/ByteSink.h"
#include "common/ZentrapError.h"
#include "formats/BmpWriter.h"
#include "formats/JpegCodec.h"
#include "formats/OutputFormats.h"
#include "formats/PngWriter.h"
#include "formats/TiffWriter.h"
#include "fuzz/FuzzReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

PixelFormat pickFormat(uint8_t b)
{
    constexpr PixelFormat kFormats[] = {PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8, PixelFormat::Bpp24,
                                        PixelFormat::Bpp32};
    return kFormats[b % 5];
}

Bitmap makeBitmap(FuzzReader& in)
{
    PixelFormat format = pickFormat(in.byte());
    // Zero sizes are allowed on purpose: every writer must refuse them cleanly.
    int width = in.range(0, 40);
    int height = in.range(0, 24);
    Bitmap b(width, height, format);
    if (isIndexed(format)) {
        std::vector<RgbQuad> table(static_cast<size_t>(in.range(0, 255)) + 1);
        for (RgbQuad& q : table) {
            q = {in.byte(), in.byte(), in.byte(), in.byte()};
        }
        b.setColorTable(table);
    } else if (in.byte() & 1) {
        b.attachSystemPalette(std::vector<PaletteEntry>(static_cast<size_t>(in.range(1, 256)), {1, 2, 3, 0}));
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.row(y);
        size_t used = (static_cast<size_t>(width) * static_cast<size_t>(b.bitsPerPixel()) + 7) / 8;
        for (size_t i = 0; i < used; ++i) {
            row[i] = in.byte();
        }
        // Keep bits beyond the width clear, as Bitmap itself does.
        if (b.bitsPerPixel() < 8 && used > 0) {
            int bitsUsed = static_cast<int>((static_cast<size_t>(width) * static_cast<size_t>(b.bitsPerPixel())) % 8);
            if (bitsUsed != 0) {
                row[used - 1] = static_cast<uint8_t>(row[used - 1] & (0xFF << (8 - bitsUsed)));
            }
        }
    }
    return b;
}

FormatSettings makeSettings(FuzzReader& in)
{
    FormatSettings s;
    s.format = static_cast<ImageFormat>(in.byte() % 5);
    s.jpeg.quality = in.range(1, 100);
    s.jpeg.progressive = (in.byte() & 1) != 0;
    s.gif.paletteMode = in.range(1, 8);
    constexpr int kCounts[] = {8, 16, 32, 64, 128, 256};
    s.gif.colorCount = kCounts[in.byte() % 6];
    s.gif.ditherMode = in.range(0, 6);
    s.gif.compression = in.byte() & 1;
    s.gif.transparent = (in.byte() & 1) != 0;
    s.gif.pickX = in.range(0, 50);
    s.gif.pickY = in.range(0, 30);
    return s;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void runWriters(const Bitmap& b, FormatSettings& settings)
{
    try {
        measureFormat(b, settings);
    } catch (const ZentrapError&) {
    }
    try {
        VectorSink file;
        writeBmpFile(b, file);
        check(file.bytes.size() == bmpFileSize(b));
    } catch (const ZentrapError&) {
    }
    try {
        VectorSink tiff;
        writeTiff(tiff, b);
        check(tiff.bytes.size() == tiffFileSize(b));
    } catch (const ZentrapError&) {
    }
    try {
        VectorSink png;
        writePng(b, png);
        check(png.bytes.size() > 8);
    } catch (const ZentrapError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    uint8_t mode = in.byte();
    if (mode == 0xFF) {
        // The preview decoder on arbitrary bytes.
        try {
            decodeJpeg({data + 1, size - 1});
        } catch (const ZentrapError&) {
        }
        return 0;
    }
    FormatSettings settings = makeSettings(in);
    Bitmap b = makeBitmap(in);
    runWriters(b, settings);
    return 0;
}
