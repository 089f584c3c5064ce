// The GIF file layout byte for byte: header, screen and image descriptors, tables, extensions, errors.
#include "GifTestSupport.h"
#include "common/ZentrapError.h"
#include "formats/GifImage.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

using giftest::indexedPicture;

std::vector<uint8_t> writeGif(const GifImage& gif)
{
    VectorSink sink;
    gif.SaveToStream(sink);
    return sink.bytes;
}

std::vector<uint8_t> bytesOf(const Bitmap& bitmap, bool transparentAtOrigin = false,
                             const GifEncoderSettings& settings = {})
{
    GifImage gif(settings);
    gif.Assign(bitmap);
    if (transparentAtOrigin) {
        gif.MarkTransparent(0, 0);
    }
    return writeGif(gif);
}

TEST(GifWriterTest, OnePixelOfOneColourIsTheSmallestFile)
{
    std::vector<uint8_t> expected = {'G',  'I', 'F',  '8',  '7', 'a', 1, 0, 1, 0,    0x00, 0, 0, // screen
                                     0x2C, 0,   0,    0,    0,   1,   0, 1, 0, 0x80,             // descriptor
                                     1,    255, 0,    0,    0,   0,                              // table, padded
                                     2,    2,   0x44, 0x01, 0,                                   // clear, 0, end
                                     0x3B};
    for (GifCompression compression : {GifCompression::LZW, GifCompression::RLE}) {
        GifEncoderSettings settings;
        settings.Compression = compression;
        EXPECT_EQ(bytesOf(indexedPicture(1, 1, 1, {0}), false, settings), expected);
    }
}

TEST(GifWriterTest, TwoHundredFiftySixColoursGivePackedBytes77And87)
{
    std::vector<uint8_t> indices(256);
    std::iota(indices.begin(), indices.end(), 0);
    std::vector<uint8_t> bytes = bytesOf(indexedPicture(16, 16, 256, indices));
    EXPECT_EQ(bytes[10], 0x77);
    EXPECT_EQ(bytes[13], 0x2C);
    EXPECT_EQ(bytes[22], 0x87);
    EXPECT_EQ(bytes[23 + 768], 8); // the minimum code size right after a 768-byte table
    EXPECT_EQ(bytes.back(), 0x3B);
}

TEST(GifWriterTest, ThreeColourTableIsPaddedWithOneZeroEntry)
{
    std::vector<uint8_t> bytes = bytesOf(indexedPicture(3, 1, 3, {0, 1, 2}));
    EXPECT_EQ(bytes[10], 0x11);
    EXPECT_EQ(bytes[22], 0x81);
    std::vector<uint8_t> table(bytes.begin() + 23, bytes.begin() + 35);
    EXPECT_EQ(table, (std::vector<uint8_t>{1, 255, 0, 4, 254, 7, 7, 253, 14, 0, 0, 0}));
    EXPECT_EQ(bytes[35], 2);
}

TEST(GifWriterTest, TransparencyAddsTheControlExtensionAndVersion89a)
{
    std::vector<uint8_t> plain = bytesOf(indexedPicture(2, 1, 3, {2, 1}));
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + 6), "GIF87a");
    std::vector<uint8_t> marked = bytesOf(indexedPicture(2, 1, 3, {2, 1}), true);
    EXPECT_EQ(std::string(marked.begin(), marked.begin() + 6), "GIF89a");
    std::vector<uint8_t> extension(marked.begin() + 13, marked.begin() + 21);
    EXPECT_EQ(extension, (std::vector<uint8_t>{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 2, 0x00}));
    EXPECT_EQ(marked[21], 0x2C);
}

TEST(GifWriterTest, SortedMapAlsoNeedsVersion89a)
{
    GifImage gif;
    gif.Assign(indexedPicture(2, 1, 3, {2, 1}));
    gif.Images().front()->ColorMap().SetSorted(true);
    std::vector<uint8_t> bytes = writeGif(gif);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    EXPECT_EQ(bytes[22], 0x80 | 0x20 | 0x01);
}

TEST(GifWriterTest, IndexEqualToTheColourCountIsRejected)
{
    EXPECT_EQ(errorOf([] { bytesOf(indexedPicture(2, 2, 3, {0, 1, 3, 2})); }), "Color not in color table");
}

TEST(GifWriterTest, ImageWithoutSubImagesHasNoVersion)
{
    GifImage gif;
    EXPECT_EQ(errorOf([&] { writeGif(gif); }), "Unsupported GIF version");
}

TEST(GifWriterTest, EmptyBitmapGivesAnEmptySubImage)
{
    GifImage gif;
    gif.Assign(Bitmap());
    ASSERT_EQ(gif.Images().size(), 1U);
    EXPECT_TRUE(gif.Images().front()->Empty());
    std::vector<uint8_t> bytes = writeGif(gif);
    EXPECT_EQ(bytes.size(), 6U + 7U + 1U);
    EXPECT_EQ(errorOf([&] { gif.MarkTransparent(0, 0); }), "Invalid pixel coordinates");
}

TEST(GifWriterTest, ColourMapGrowsInStepsAndOverflowsPast256)
{
    GifLocalColorMap map;
    EXPECT_EQ(map.BitsPerPixel(), 0);
    const std::pair<int, int> capacities[] = {{1, 16}, {16, 16}, {17, 32}, {33, 64}, {200, 224}, {256, 256}};
    const std::pair<int, int> bits[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {129, 8}, {256, 8}};
    for (int n = 1; n <= 256; ++n) {
        map.Add({static_cast<uint8_t>(n), 0, 0});
        for (auto [count, capacity] : capacities) {
            if (count == n) {
                EXPECT_EQ(map.Capacity(), capacity) << n;
            }
        }
        for (auto [count, b] : bits) {
            if (count == n) {
                EXPECT_EQ(map.BitsPerPixel(), b) << n;
            }
        }
    }
    EXPECT_EQ(errorOf([&] { map.Add({}); }), "Color table overflow");
}

TEST(GifWriterTest, TrueColourPixelsAreCollectedInOrderOfFirstAppearance)
{
    Bitmap picture(20, 1, PixelFormat::Bpp24);
    const ColorRef colors[] = {makeColor(9, 8, 7), makeColor(1, 2, 3), makeColor(9, 8, 7), makeColor(200, 0, 0)};
    for (int x = 0; x < 20; ++x) {
        picture.setPixelValue(x, 0, colors[x % 4]);
    }
    GifImage gif;
    GifSubImage& sub = gif.AddImage();
    sub.AssignPixels(picture);
    ASSERT_EQ(sub.ColorMap().Count(), 3);
    EXPECT_EQ(sub.ColorMap()[0], (GifColor{9, 8, 7}));
    EXPECT_EQ(sub.ColorMap()[2], (GifColor{200, 0, 0}));
    EXPECT_EQ(sub.Pixel(5, 0), 1);
    EXPECT_EQ(sub.Pixel(6, 0), 0);

    Bitmap many(257, 1, PixelFormat::Bpp24);
    for (int x = 0; x < 257; ++x) {
        many.setPixelValue(x, 0, makeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(x / 256), 0));
    }
    EXPECT_EQ(errorOf([&] { sub.AssignPixels(many); }), "Color table overflow");
}

TEST(GifWriterTest, PickedPixelMustLieInsideTheImage)
{
    GifImage gif;
    gif.Assign(indexedPicture(3, 2, 4, {0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(errorOf([&] { gif.MarkTransparent(-1, 0); }), "Invalid pixel coordinates");
    EXPECT_EQ(errorOf([&] { gif.MarkTransparent(3, 0); }), "Invalid pixel coordinates");
    EXPECT_EQ(errorOf([&] { gif.MarkTransparent(0, 2); }), "Invalid pixel coordinates");
    EXPECT_EQ(errorOf([&] { gif.MarkTransparent(0, -1); }), "Invalid pixel coordinates");
    EXPECT_TRUE(gif.Images().front()->Extensions().empty());
    gif.MarkTransparent(2, 1);
    auto* gce = dynamic_cast<GifGraphicControlExtension*>(gif.Images().front()->Extensions().front().get());
    ASSERT_NE(gce, nullptr);
    EXPECT_EQ(gce->TransparentColorIndex(), 1);
}

TEST(GifWriterTest, TransparentIndexOutsideTheMapBecomesZeroWithAWarning)
{
    GifImage gif;
    GifSubImage& sub = gif.AddImage();
    sub.AssignPixels(indexedPicture(2, 1, 3, {1, 2}));
    sub.Data()[0] = 7;
    gif.MarkTransparent(0, 0);
    auto* gce = dynamic_cast<GifGraphicControlExtension*>(sub.Extensions().front().get());
    EXPECT_EQ(gce->TransparentColorIndex(), 0);
    ASSERT_EQ(gif.Warnings().size(), 1U);
    EXPECT_EQ(gif.Warnings().front(), "Invalid color index");
}

TEST(GifWriterTest, LogicalScreenGrowsAndNeverShrinks)
{
    GifImage gif;
    GifSubImage& sub = gif.AddImage();
    sub.SetBounds(5, 2, 10, 4);
    EXPECT_EQ(gif.Header().ScreenWidth, 15);
    EXPECT_EQ(gif.Header().ScreenHeight, 6);
    EXPECT_EQ(sub.Data(), std::vector<uint8_t>(40, 0));
    sub.Data()[3] = 9;
    sub.SetWidth(3);
    EXPECT_EQ(gif.Header().ScreenWidth, 15);
    EXPECT_EQ(sub.Data(), std::vector<uint8_t>(12, 0)); // a new size discards the pixels
}

TEST(GifWriterTest, PicturesWiderThanAGifCanHoldAreRejected)
{
    Bitmap wide(70000, 1, PixelFormat::Bpp8);
    EXPECT_EQ(errorOf([&] { bytesOf(wide); }), "Image too large for GIF");
    Bitmap tall(1, 65536, PixelFormat::Bpp24);
    EXPECT_EQ(errorOf([&] { bytesOf(tall); }), "Image too large for GIF");
}

TEST(GifWriterTest, IndexedBitmapWithoutTableUsesItsGreyRamp)
{
    Bitmap picture(2, 1, PixelFormat::Bpp4);
    picture.setPixelValue(0, 0, 15);
    GifImage gif;
    gif.Assign(picture);
    const GifLocalColorMap& map = gif.Images().front()->ColorMap();
    ASSERT_EQ(map.Count(), 16);
    EXPECT_EQ(map[15], (GifColor{255, 255, 255}));
    EXPECT_EQ(gif.Images().front()->Pixel(0, 0), 15);
}

TEST(GifWriterTest, GlobalMapAndInterlacedRowsDecode)
{
    // A sub-image without a local map uses the global one and may be interlaced.
    GifImage gif;
    for (uint8_t i = 0; i < 11; ++i) {
        gif.Header().ColorMap.Add({i, static_cast<uint8_t>(i * 2), static_cast<uint8_t>(i * 3)});
    }
    GifSubImage& sub = gif.AddImage();
    sub.SetBounds(0, 0, 3, 11);
    sub.SetPacked(0x40);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 3; ++x) {
            sub.Data()[static_cast<size_t>(y * 3 + x)] = static_cast<uint8_t>(y);
        }
    }
    std::vector<uint8_t> bytes = writeGif(gif);
    EXPECT_EQ(bytes[10], 0x80 | 0x30 | 0x03); // global map, resolution 3, 4 bits per pixel
    EXPECT_EQ(bytes[13 + 48 + 9], 0x40);      // the descriptor keeps the interlace bit
    giftest::DecodedGif decoded = giftest::decodeWithGiflib(bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.indices, sub.Data());
    EXPECT_EQ(decoded.colors.size(), 16U * 3);
    EXPECT_EQ(decoded.colors[10 * 3 + 2], 30);
}

} // namespace
