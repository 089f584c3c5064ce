#include "formats/PngWriter.h"
#include "OutputFormatsTestImages.h"
#include "common/ZentrapError.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>

namespace {

struct ParsedChunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcOk = false;
};

uint32_t be32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

std::vector<ParsedChunk> parseChunks(const std::vector<uint8_t>& file)
{
    std::vector<ParsedChunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = be32(&file[at]);
        ParsedChunk c;
        c.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        c.data.assign(file.begin() + static_cast<long>(at + 8), file.begin() + static_cast<long>(at + 8 + length));
        uLong crc = crc32(0, &file[at + 4], 4 + length);
        c.crcOk = crc == be32(&file[at + 8 + length]);
        chunks.push_back(std::move(c));
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size());
    return chunks;
}

std::vector<uint8_t> inflateAll(const std::vector<uint8_t>& data, size_t expected)
{
    std::vector<uint8_t> out(expected + 16);
    uLongf length = out.size();
    EXPECT_EQ(uncompress(out.data(), &length, data.data(), data.size()), Z_OK);
    out.resize(length);
    return out;
}

std::vector<uint8_t> encode(const Bitmap& b)
{
    VectorSink sink;
    writePng(b, sink);
    return sink.bytes;
}

struct Decoded {
    int width = 0;
    int height = 0;
    int colorType = -1;
    int bitDepth = 0;
    std::vector<uint8_t> rgb; // expanded to 8-bit red, green, blue
};

// libpng as the independent reader: palettes and small depths expanded to RGB.
Decoded decodeWithLibpng(const std::vector<uint8_t>& file)
{
    Decoded d;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        ADD_FAILURE() << "libpng: " << image.message;
        return d;
    }
    d.width = static_cast<int>(image.width);
    d.height = static_cast<int>(image.height);
    image.format = PNG_FORMAT_RGB;
    d.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, d.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng: " << image.message;
    }
    // The header's own fields, read directly.
    d.bitDepth = file[24];
    d.colorType = file[25];
    return d;
}

void expectPixelsEqual(const Bitmap& b, const Decoded& d)
{
    ASSERT_EQ(d.width, b.width());
    ASSERT_EQ(d.height, b.height());
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            ColorRef c = b.pixelColor(x, y);
            const uint8_t* p = &d.rgb[(static_cast<size_t>(y) * b.width() + x) * 3];
            ASSERT_EQ(makeColor(p[0], p[1], p[2]), c) << "pixel " << x << "," << y;
        }
    }
}

} // namespace

TEST(PngWriter, OnePixelImageHasSignatureHeaderOneIdatOfFourBytesAndEnd)
{
    Bitmap b(1, 1);
    b.setPixelValue(0, 0, makeColor(0x11, 0x22, 0x33));
    std::vector<uint8_t> file = encode(b);
    const uint8_t signature[] = {137, 80, 78, 71, 13, 10, 26, 10};
    ASSERT_GT(file.size(), 8U);
    EXPECT_EQ(std::memcmp(file.data(), signature, 8), 0);
    std::vector<ParsedChunk> chunks = parseChunks(file);
    ASSERT_EQ(chunks.size(), 3U);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(inflateAll(chunks[1].data, 4), (std::vector<uint8_t>{0, 0x11, 0x22, 0x33}));
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].data.empty());
    for (const auto& c : chunks) {
        EXPECT_TRUE(c.crcOk) << c.type;
    }
}

TEST(PngWriter, OneColourImageUsesSubForTheFirstRowAndPaethAfter)
{
    Bitmap b(7, 5);
    b.fillRect({0, 0, 7, 5}, makeColor(200, 40, 90));
    std::vector<ParsedChunk> chunks = parseChunks(encode(b));
    ASSERT_EQ(chunks.size(), 3U);
    size_t rowBytes = 1 + 7 * 3;
    std::vector<uint8_t> raw = inflateAll(chunks[1].data, rowBytes * 5);
    ASSERT_EQ(raw.size(), rowBytes * 5);
    EXPECT_EQ(raw[0], 1);
    // Sub: the first pixel as it is, zeros after it.
    EXPECT_EQ(raw[1], 200);
    EXPECT_EQ(raw[2], 40);
    EXPECT_EQ(raw[3], 90);
    for (size_t i = 4; i < rowBytes; ++i) {
        EXPECT_EQ(raw[i], 0) << i;
    }
    for (size_t y = 1; y < 5; ++y) {
        EXPECT_EQ(raw[y * rowBytes], 4) << "row " << y;
        for (size_t i = 1; i < rowBytes; ++i) {
            EXPECT_EQ(raw[y * rowBytes + i], 0);
        }
    }
}

TEST(PngWriter, ThirtyTwoBitInputIsWrittenAsTruecolourWithoutTheFourthByte)
{
    Bitmap b = testimages::random32(9, 4, 11);
    std::vector<uint8_t> file = encode(b);
    std::vector<ParsedChunk> chunks = parseChunks(file);
    ASSERT_EQ(chunks.size(), 3U);
    EXPECT_EQ(chunks[0].data[8], 8);
    EXPECT_EQ(chunks[0].data[9], 2);
    expectPixelsEqual(b, decodeWithLibpng(file));
}

TEST(PngWriter, IndexedImagesCarryTheirPaletteRightBehindTheHeader)
{
    for (PixelFormat f : {PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8}) {
        Bitmap b = testimages::randomIndexed(11, 3, f, 3);
        std::vector<ParsedChunk> chunks = parseChunks(encode(b));
        ASSERT_EQ(chunks.size(), 4U);
        EXPECT_EQ(chunks[0].type, "IHDR");
        EXPECT_EQ(chunks[0].data[8], bitsPerPixel(f));
        EXPECT_EQ(chunks[0].data[9], 3);
        EXPECT_EQ(chunks[1].type, "PLTE");
        ASSERT_EQ(chunks[1].data.size(), 3U << bitsPerPixel(f));
        EXPECT_EQ(chunks[1].data[0], b.colorTable()[0].red);
        EXPECT_EQ(chunks[1].data[1], b.colorTable()[0].green);
        EXPECT_EQ(chunks[1].data[2], b.colorTable()[0].blue);
        EXPECT_EQ(chunks[2].type, "IDAT");
        EXPECT_EQ(chunks[3].type, "IEND");
    }
}

TEST(PngWriter, AnIndexedImageWithoutTableGetsAGreyRampAndAnOverlongTableIsCut)
{
    Bitmap plain = testimages::randomIndexed(5, 5, PixelFormat::Bpp4, 9);
    plain.setColorTable({});
    expectPixelsEqual(plain, decodeWithLibpng(encode(plain)));

    Bitmap overlong = testimages::randomIndexed(5, 5, PixelFormat::Bpp1, 9);
    std::vector<RgbQuad> table(40, RgbQuad{1, 2, 3, 0});
    table[0] = {0, 0, 0, 0};
    table[1] = {255, 255, 255, 0};
    overlong.setColorTable(table);
    std::vector<ParsedChunk> chunks = parseChunks(encode(overlong));
    EXPECT_EQ(chunks[1].data.size(), 6U);
    expectPixelsEqual(overlong, decodeWithLibpng(encode(overlong)));
}

TEST(PngWriter, TChunkListKeepsForeignChunksAndDropsTransparency)
{
    PngImage png;
    png.chunkList().insertAfter("IHDR", "tRNS").data = {1, 2};
    png.chunkList().insertAfter("IHDR", "tEXt").data = {'a', 0, 'b'};
    png.assign(testimages::randomIndexed(4, 4, PixelFormat::Bpp8, 2));
    VectorSink sink;
    png.saveToStream(sink);
    std::vector<ParsedChunk> chunks = parseChunks(sink.bytes);
    std::vector<std::string> types;
    for (const auto& c : chunks) {
        types.push_back(c.type);
        EXPECT_TRUE(c.crcOk);
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "PLTE", "tEXt", "IDAT", "IEND"}));
}

TEST(PngWriter, RoundTripsThroughLibpngPixelExact)
{
    for (const auto& c : testimages::varied()) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> file = encode(c.image);
        for (const auto& chunk : parseChunks(file)) {
            EXPECT_TRUE(chunk.crcOk) << chunk.type;
        }
        expectPixelsEqual(c.image, decodeWithLibpng(file));
    }
}

TEST(PngWriter, WideScreenshotRoundTripsAndCompresses)
{
    Bitmap b = testimages::screenshot24(1280, 64);
    std::vector<uint8_t> file = encode(b);
    EXPECT_LT(file.size(), b.byteCount() / 10);
    expectPixelsEqual(b, decodeWithLibpng(file));
}

TEST(PngWriter, EmptyImageIsRefused)
{
    VectorSink sink;
    EXPECT_THROW(writePng(Bitmap(0, 5), sink), ZentrapError);
    EXPECT_THROW(writePng(Bitmap(5, 0), sink), ZentrapError);
}
