// The GIF variant of the Save As window: defaults, the picked pixel and the rendered picture.
#include "formats/GifFormat.h"
#include "GifTestSupport.h"
#include "common/ZentrapError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class GifFormatTest : public ::testing::Test {};

TEST_F(GifFormatTest, OptimizedPaletteHoldsAtMostTheChosenColourCount)
{
    Bitmap picture = giftest::noisePicture(40, 40, 1);
    for (int count : {8, 16, 32, 64, 128, 256}) {
        const GifOptions options{.paletteMode = 7, .colorCount = count, .ditherMode = 3, .compression = 1};
        VectorSink sink;
        writeGifVariant(picture, options, sink);
        giftest::DecodedGif decoded = giftest::decodeWithGiflib(sink.bytes);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_LE(*std::max_element(decoded.indices.begin(), decoded.indices.end()), count - 1) << count;
        EXPECT_GT(*std::max_element(decoded.indices.begin(), decoded.indices.end()), count / 2) << count;
    }
    // Other palettes ignore the colour count: "Netscape" has its 216 colours whatever it says.
    const GifOptions netscape{.paletteMode = 6, .colorCount = 8};
    VectorSink sink;
    writeGifVariant(picture, netscape, sink);
    giftest::DecodedGif decoded = giftest::decodeWithGiflib(sink.bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_GT(*std::max_element(decoded.indices.begin(), decoded.indices.end()), 8);
}

TEST_F(GifFormatTest, PickedPixelOutsideTheImageIsResetAndTheTopLeftIndexMadeTransparent)
{
    Bitmap picture = giftest::screenshotPicture(10, 16);
    GifOptions options{.paletteMode = 3, .transparent = true, .pickX = 10, .pickY = 2};
    VectorSink sink;
    Bitmap rendered;
    writeGifVariant(picture, options, sink, &rendered);
    giftest::DecodedGif decoded = giftest::decodeWithGiflib(sink.bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.transparentIndex, decoded.indices[0]);
    // The title bar (0, 120, 215) becomes the grey 128 of "Windows grayscale".
    EXPECT_EQ(rendered.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(rendered.pixelColor(0, 0), makeColor(128, 128, 128));
}

TEST_F(GifFormatTest, PickedPixelOutsideTheImageWithoutTransparencyWritesAPlainFile)
{
    Bitmap picture = giftest::screenshotPicture(10, 6);
    GifOptions options{.pickX = 3, .pickY = 6};
    VectorSink sink;
    writeGifVariant(picture, options, sink);
    EXPECT_EQ(std::string(sink.bytes.begin(), sink.bytes.begin() + 6), "GIF87a");
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

TEST_F(GifFormatTest, BadSettingsAndPicturesGiveClearErrors)
{
    Bitmap picture = giftest::photoPicture(4, 4, 1);
    const GifOptions bad[] = {{.paletteMode = 0}, {.paletteMode = 9}, {.paletteMode = 7, .colorCount = 48},
                              {.ditherMode = 7},  {.compression = 2}, {.paletteMode = 7, .colorCount = 512}};
    for (GifOptions options : bad) {
        VectorSink sink;
        EXPECT_THROW(writeGifVariant(picture, options, sink), ZentrapError);
    }
    GifOptions negative{.transparent = true, .pickX = -1};
    VectorSink sink;
    EXPECT_THROW(writeGifVariant(picture, negative, sink), ZentrapError);
    GifOptions onEmpty{.transparent = true};
    EXPECT_THROW(writeGifVariant(Bitmap(), onEmpty, sink), ZentrapError);
}

} // namespace
