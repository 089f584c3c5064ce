// The octree palette: insertion, merging the deepest most recent node, collection order, filler slots.
#include "formats/Octree.h"
#include "GifTestSupport.h"
#include "formats/Quantize.h"
#include "formats/SystemPalettes.h"

#include <gtest/gtest.h>

namespace {

PaletteEntry rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return {r, g, b, 0};
}

Bitmap pictureOf(const std::vector<ColorRef>& pixels, int width)
{
    int height = static_cast<int>(pixels.size()) / width;
    Bitmap b(width, height, PixelFormat::Bpp24);
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
        b.setPixelValue(i % width, i / width, pixels[static_cast<size_t>(i)]);
    }
    return b;
}

TEST(OctreeTest, FewerColoursThanSlotsAreKeptExactlyInDepthFirstOrder)
{
    // Level-0 child indices: red bit * 4 + green bit * 2 + blue bit.
    Bitmap picture = pictureOf(
        {makeColor(255, 0, 0), makeColor(0, 0, 255), makeColor(0, 255, 0), makeColor(10, 10, 10), makeColor(255, 0, 0)},
        5);
    ColorPalette palette = MakeOptimizedPalette(picture, 8, 8, false);
    ASSERT_EQ(palette.size(), 8U);
    EXPECT_EQ(palette[0], rgb(10, 10, 10));
    EXPECT_EQ(palette[1], rgb(0, 0, 255));
    EXPECT_EQ(palette[2], rgb(0, 255, 0));
    EXPECT_EQ(palette[3], rgb(255, 0, 0));
    for (size_t i = 4; i < 8; ++i) {
        EXPECT_EQ(palette[i], rgb(0, 0, 0)) << "unfilled slot " << i;
    }
}

TEST(OctreeTest, MergesTheMostRecentNodeOfTheDeepestLevel)
{
    // a, b share their level-7 node, so do c, d. After d there are four leaves for three slots:
    // the node made last (c, d) is merged, not the older one (a, b).
    ColorQuantizer quantizer(3, 8);
    for (uint8_t blue : {0, 1, 2, 3}) {
        quantizer.InsertColor(0, 0, blue);
        while (quantizer.Leaves() > quantizer.PaletteSize()) {
            quantizer.MergeDeepestNode();
        }
    }
    EXPECT_EQ(quantizer.Leaves(), 3);
    ColorPalette palette = quantizer.CollectPalette();
    ASSERT_EQ(palette.size(), 3U);
    EXPECT_EQ(palette[0], rgb(0, 0, 0));
    EXPECT_EQ(palette[1], rgb(0, 0, 1));
    EXPECT_EQ(palette[2], rgb(0, 0, 2)); // (2 + 3) div 2
}

TEST(OctreeTest, MergingANodeWithOneChildGainsNoSlot)
{
    // c's fresh chain of single-child nodes is merged first; only then a and b come together.
    ColorQuantizer quantizer(2, 8);
    for (ColorRef c : {makeColor(0, 0, 0), makeColor(0, 0, 1), makeColor(255, 255, 255)}) {
        quantizer.InsertColor(redOf(c), greenOf(c), blueOf(c));
        while (quantizer.Leaves() > quantizer.PaletteSize()) {
            quantizer.MergeDeepestNode();
        }
    }
    ColorPalette palette = quantizer.CollectPalette();
    ASSERT_EQ(palette.size(), 2U);
    EXPECT_EQ(palette[0], rgb(0, 0, 0));
    EXPECT_EQ(palette[1], rgb(255, 255, 255));
}

TEST(OctreeTest, RunsInsertLikeSinglePixels)
{
    for (const Bitmap& picture :
         {giftest::photoPicture(40, 30, 4), giftest::screenshotPicture(50, 20), giftest::noisePicture(30, 10, 2)}) {
        for (int colors : {8, 32, 236}) {
            ColorQuantizer single(colors, 8);
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    ColorRef c = picture.pixelColor(x, y);
                    single.InsertColor(redOf(c), greenOf(c), blueOf(c));
                    while (single.Leaves() > single.PaletteSize()) {
                        single.MergeDeepestNode();
                    }
                }
            }
            ColorPalette expected = single.CollectPalette();
            expected.resize(static_cast<size_t>(colors));
            EXPECT_EQ(MakeOptimizedPalette(picture, colors, 8, false), expected) << colors;
        }
    }
}

TEST(OctreeTest, OptimizedWindowsKeepsTheSystemColoursAtBothEnds)
{
    Bitmap picture = giftest::photoPicture(64, 32, 9);
    ColorPalette palette = MakeOptimizedPalette(picture, 256, 8, true);
    ASSERT_EQ(palette.size(), 256U);
    const auto& system = defaultPalette();
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(palette[i], system[i]);
        EXPECT_EQ(palette[246 + i], system[10 + i]);
    }
    Bitmap result = QuantizeBitmap(picture, ReductionMode::OptimizedWindows, DitherMode::NearestColor, 8);
    EXPECT_EQ(result.colorTable()[246], (RgbQuad{240, 251, 255, 0}));
}

TEST(OctreeTest, EachDistinctColourMapsToItsOwnEntryWhenKeysDiffer)
{
    Bitmap picture = giftest::screenshotPicture(40, 24);
    Bitmap result = QuantizeBitmap(picture, ReductionMode::Optimized, DitherMode::NearestColor, 8);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ColorRef c = picture.pixelColor(x, y);
            const RgbQuad& q = result.colorTable()[result.row(y)[x]];
            EXPECT_EQ(makeColor(q.red, q.green, q.blue), c);
        }
    }
}

} // namespace
