// The GIF variant of the Save As window: defaults, the picked pixel and the rendered picture.
#include "formats/GifFormat.h"
#include "GifTestSupport.h"
#include "common/ZentrapError.h"
#include "formats/GifDefaults.h"

#include <gtest/gtest.h>

namespace {

class GifFormatTest : public ::testing::Test {
protected:
    void TearDown() override { GIFEncoderDefaults() = GifEncoderSettings{}; }
};

TEST_F(GifFormatTest, SetsTheProcessWideDefaultsFromTheVariant)
{
    Bitmap picture = giftest::photoPicture(8, 8, 1);
    const std::pair<int, int> countsToBits[] = {{8, 3}, {16, 4}, {32, 5}, {64, 6}, {128, 7}, {256, 8}};
    for (auto [count, bits] : countsToBits) {
        GifOptions options{.paletteMode = 7, .colorCount = count, .ditherMode = 3, .compression = 1};
        VectorSink sink;
        writeGifVariant(picture, options, sink);
        EXPECT_EQ(GIFEncoderDefaults().ReductionBits, bits);
        EXPECT_EQ(GIFEncoderDefaults().ColorReduction, ReductionMode::Optimized);
        EXPECT_EQ(GIFEncoderDefaults().Dither, DitherMode::Sierra);
        EXPECT_EQ(GIFEncoderDefaults().Compression, GifCompression::RLE);
    }
    // Other palettes leave the reduction bits alone.
    GifOptions options{.paletteMode = 6, .colorCount = 8};
    VectorSink sink;
    writeGifVariant(picture, options, sink);
    EXPECT_EQ(GIFEncoderDefaults().ReductionBits, 8);
    EXPECT_EQ(GIFEncoderDefaults().ColorReduction, ReductionMode::Netscape);
}

TEST_F(GifFormatTest, PickedPixelOutsideTheImageIsResetAndTheTopLeftIndexMadeTransparent)
{
    Bitmap picture = giftest::screenshotPicture(10, 16);
    GifOptions options{.paletteMode = 3, .transparent = true, .pickX = 10, .pickY = 2};
    VectorSink sink;
    Bitmap rendered;
    writeGifVariant(picture, options, sink, &rendered);
    EXPECT_EQ(options.pickX, 0);
    EXPECT_EQ(options.pickY, 0);
    giftest::DecodedGif decoded = giftest::decodeWithGiflib(sink.bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.transparentIndex, decoded.indices[0]);
    // The title bar (0, 120, 215) becomes the grey 128 of "Windows grayscale".
    EXPECT_EQ(rendered.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(rendered.pixelColor(0, 0), makeColor(128, 128, 128));
}

TEST_F(GifFormatTest, PickedPixelIsResetEvenWithoutTransparency)
{
    Bitmap picture = giftest::screenshotPicture(10, 6);
    GifOptions options{.pickX = 3, .pickY = 6};
    VectorSink sink;
    writeGifVariant(picture, options, sink);
    EXPECT_EQ(options.pickX, 0);
    EXPECT_EQ(options.pickY, 0);
    EXPECT_EQ(std::string(sink.bytes.begin(), sink.bytes.begin() + 6), "GIF87a");
    GifOptions inside{.pickX = 9, .pickY = 5};
    writeGifVariant(picture, inside, sink);
    EXPECT_EQ(inside.pickX, 9);
}

TEST_F(GifFormatTest, DefaultVariantOfATrueColourPictureHasA256EntryTable)
{
    Bitmap picture = giftest::uniformPicture(1, 1, 5, 6, 7);
    GifOptions options;
    VectorSink sink;
    writeGifVariant(picture, options, sink);
    EXPECT_EQ(sink.bytes[10], 0x77);
    EXPECT_EQ(sink.bytes[22], 0x87);
}

TEST_F(GifFormatTest, BadSettingsAndPicturesGiveClearErrorsAndKeepTheDefaults)
{
    Bitmap picture = giftest::photoPicture(4, 4, 1);
    const GifOptions bad[] = {{.paletteMode = 0}, {.paletteMode = 9}, {.paletteMode = 7, .colorCount = 48},
                              {.ditherMode = 7},  {.compression = 2}, {.paletteMode = 7, .colorCount = 512}};
    for (GifOptions options : bad) {
        VectorSink sink;
        EXPECT_THROW(writeGifVariant(picture, options, sink), ZentrapError);
        EXPECT_EQ(GIFEncoderDefaults().ColorReduction, ReductionMode::OptimizedWindows);
    }
    GifOptions negative{.transparent = true, .pickX = -1};
    VectorSink sink;
    EXPECT_THROW(writeGifVariant(picture, negative, sink), ZentrapError);
    GifOptions onEmpty{.transparent = true};
    EXPECT_THROW(writeGifVariant(Bitmap(), onEmpty, sink), ZentrapError);
}

} // namespace
