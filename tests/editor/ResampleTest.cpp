#include "editor/Resample.h"

#include "ResampleReference.h"
#include "TestImages.h"
#include "common/ZentrapError.h"
#include "editor/PlainStretch.h"
#include "editor/ResampleWeights.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>

namespace {

using testimages::greyRow;

const ResampleKernel kKernels[] = {ResampleKernel::Scalar, ResampleKernel::Vectorised};

Bitmap resampled(const Bitmap& source, int width, int height, FilterFunction filter = MitchellFilter,
                 float support = 2.0F, ResampleKernel kernel = ResampleKernel::Vectorised)
{
    Bitmap destination(width, height);
    ResampleBitmap(source, destination, filter, support, {}, kernel);
    return destination;
}

std::vector<int> greyLevels(const Bitmap& b, int y = 0)
{
    std::vector<int> out;
    for (int x = 0; x < b.width(); ++x) {
        uint8_t* p = const_cast<Bitmap&>(b).row(y) + x * 3;
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
        out.push_back(p[0]);
    }
    return out;
}

} // namespace

TEST(ResampleBitmap, WideningTwoPixelsToThreeGivesTheKnownValues)
{
    for (ResampleKernel kernel : kKernels) {
        EXPECT_EQ(greyLevels(resampled(greyRow({0, 90}), 3, 1, MitchellFilter, 2.0F, kernel)),
                  (std::vector<int>{10, 42, 85}));
        EXPECT_EQ(greyLevels(resampled(greyRow({10, 200}), 3, 1, MitchellFilter, 2.0F, kernel)),
                  (std::vector<int>{31, 98, 189}));
    }
}

TEST(ResampleBitmap, TheVerticalPassUsesTheSameWeights)
{
    Bitmap column(1, 2);
    column.setPixelValue(0, 0, makeColor(10, 10, 10));
    column.setPixelValue(0, 1, makeColor(200, 200, 200));
    for (ResampleKernel kernel : kKernels) {
        Bitmap out = resampled(column, 2, 3, MitchellFilter, 2.0F, kernel);
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(out.pixelColor(x, 0), makeColor(31, 31, 31));
            EXPECT_EQ(out.pixelColor(x, 1), makeColor(98, 98, 98));
            EXPECT_EQ(out.pixelColor(x, 2), makeColor(189, 189, 189));
        }
    }
}

TEST(ResampleBitmap, SameSizeMitchellBlursByEightNinthsAndOneEighteenth)
{
    Bitmap dot(5, 5);
    dot.setPixelValue(2, 2, makeColor(255, 255, 255));
    for (ResampleKernel kernel : kKernels) {
        Bitmap out = resampled(dot, 5, 5, MitchellFilter, 2.0F, kernel);
        EXPECT_NE(out, dot);
        // Rows: 255·8/9 = 226.7 → 227 and 255/18 = 14.2 → 14; then columns of those bytes.
        EXPECT_EQ(out.pixelValue(2, 2) & 0xFF, 202U); // 227·8/9
        EXPECT_EQ(out.pixelValue(2, 1) & 0xFF, 13U);  // 227/18
        EXPECT_EQ(out.pixelValue(1, 2) & 0xFF, 12U);  // 14·8/9
        EXPECT_EQ(out.pixelValue(1, 1) & 0xFF, 1U);   // 14/18
        EXPECT_EQ(out.pixelValue(0, 2) & 0xFF, 0U);
        EXPECT_EQ(out.pixelValue(2, 4) & 0xFF, 0U);
    }
}

TEST(ResampleBitmap, ShrinkingByHalfMixesPixelsWithinFourOfTheCentre)
{
    // 21 → 11: destination column i is centred on source pixel 2i; one dark pixel in a grey row
    // changes exactly the columns whose centre is less than 4 pixels away.
    for (int dark : {9, 10}) {
        std::vector<uint8_t> values(21, 128);
        values[static_cast<size_t>(dark)] = 0;
        for (ResampleKernel kernel : kKernels) {
            std::vector<int> out = greyLevels(resampled(greyRow(values), 11, 1, MitchellFilter, 2.0F, kernel));
            for (int i = 0; i < 11; ++i) {
                if (std::abs(2 * i - dark) < 4) {
                    EXPECT_NE(out[static_cast<size_t>(i)], 128) << "dark " << dark << " column " << i;
                } else {
                    EXPECT_EQ(out[static_cast<size_t>(i)], 128) << "dark " << dark << " column " << i;
                }
            }
        }
    }
}

TEST(ResampleBitmap, OvershootClampsToWhiteAndBlack)
{
    Bitmap edge = greyRow({0, 0, 0, 255, 255, 255, 0, 0});
    SampleWeightTable weights = buildSampleWeights(8, 15, MitchellFilter, 2.0F);
    int above = 0;
    int below = 0;
    for (ResampleKernel kernel : kKernels) {
        std::vector<int> out = greyLevels(resampled(edge, 15, 1, MitchellFilter, 2.0F, kernel));
        for (int i = 0; i < 15; ++i) {
            double exact = 0;
            for (const SampleWeight& w : weights.list(i)) {
                exact += double(w.weight) * edge.row(0)[w.pixel * 3];
            }
            if (exact > 255.0) {
                EXPECT_EQ(out[static_cast<size_t>(i)], 255) << i;
                ++above;
            } else if (exact < 0.0) {
                EXPECT_EQ(out[static_cast<size_t>(i)], 0) << i;
                ++below;
            } else {
                EXPECT_NEAR(out[static_cast<size_t>(i)], exact, 0.5001) << i;
            }
        }
    }
    EXPECT_GT(above, 0);
    EXPECT_GT(below, 0);
}

TEST(ResampleBitmap, MatchesThePlainReferenceOnManyRandomSizes)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> size(1, 40);
    for (int round = 0; round < 150; ++round) {
        int ws = size(rng);
        int hs = size(rng);
        int wd = size(rng);
        int hd = size(rng);
        const ResampleFilter& filter = FilterTable[rng() % FilterTable.size()];
        Bitmap source = round % 3 == 0 ? testimages::randomImage(ws, hs, rng())
                                       : (round % 3 == 1 ? testimages::photoImage(ws, hs, rng())
                                                         : testimages::screenshotImage(ws, hs));
        Bitmap expected = reference::resample(source, wd, hd, filter.function, filter.support);
        for (ResampleKernel kernel : kKernels) {
            ASSERT_EQ(resampled(source, wd, hd, filter.function, filter.support, kernel), expected)
                << filter.name << " " << ws << "x" << hs << " → " << wd << "x" << hd << " kernel "
                << static_cast<int>(kernel);
        }
    }
}

TEST(ResampleBitmap, MatchesThePlainReferenceOnWideImages)
{
    // Wide enough for the 32-byte chunks, several column bands and the row tails of both passes.
    const std::pair<std::pair<int, int>, std::pair<int, int>> cases[] = {
        {{300, 21}, {261, 9}}, {{97, 41}, {290, 37}}, {{260, 17}, {133, 30}}, {{129, 16}, {129, 16}}};
    for (const auto& [from, to] : cases) {
        Bitmap source = testimages::photoImage(from.first, from.second, 9);
        Bitmap expected = reference::resample(source, to.first, to.second, MitchellFilter, 2.0F);
        EXPECT_EQ(resampled(source, to.first, to.second), expected) << from.first << "x" << from.second;
    }
}

TEST(ResampleBitmap, ARowOrColumnOfOnePixelIsStretchedPlainly)
{
    for (const auto& [name, image] : testimages::variedImages()) {
        SCOPED_TRACE(name);
        for (auto [wd, hd] : {std::pair{1, 5}, std::pair{7, 1}, std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 9}}) {
            Bitmap out = resampled(image, wd, hd);
            ASSERT_EQ(out.width(), wd);
            if (image.width() == 1 || wd == 1) {
                // That direction copies whole pixels: every destination column equals its nearest
                // source column resampled vertically alone.
                Bitmap column(1, image.height());
                column.copyRect({0, 0}, image,
                                {plainStretchIndex(0, image.width(), wd), 0,
                                 plainStretchIndex(0, image.width(), wd) + 1, image.height()});
                Bitmap alone = resampled(column, 1, hd);
                for (int y = 0; y < hd; ++y) {
                    EXPECT_EQ(out.pixelValue(0, y), alone.pixelValue(0, y));
                }
            }
        }
    }
    Bitmap single = testimages::randomImage(1, 1, 11);
    Bitmap grown = resampled(single, 4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(grown.pixelValue(x, y), single.pixelValue(0, 0));
        }
    }
}

TEST(ResampleBitmap, IndexedSourcesAreResampledAsTwentyFourBits)
{
    Bitmap indexed(9, 7, PixelFormat::Bpp8);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            indexed.setPixelValue(x, y, static_cast<uint32_t>((x * 31 + y * 17) & 0xFF));
        }
    }
    Bitmap destination(5, 11, PixelFormat::Bpp8);
    ResampleBitmap(indexed, destination, MitchellFilter, 2.0F);
    EXPECT_EQ(destination.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(destination, resampled(indexed.converted(PixelFormat::Bpp24), 5, 11));
}

TEST(ResampleBitmap, SourceAndDestinationMayBeTheSameBitmap)
{
    Bitmap image = testimages::photoImage(23, 19, 4);
    Bitmap expected = resampled(image, 23, 19);
    ResampleBitmap(image, image, MitchellFilter, 2.0F);
    EXPECT_EQ(image, expected);
}

TEST(ResampleBitmap, ProgressRunsThroughTheFourQuarters)
{
    for (ResampleKernel kernel : kKernels) {
        std::vector<std::pair<int, int>> calls;
        StatusProgress progress{100, [&](int offset, int length) { calls.emplace_back(offset, length); }};
        Bitmap destination(4, 2);
        ResampleBitmap(testimages::randomImage(3, 5, 1), destination, MitchellFilter, 2.0F, progress, kernel);
        std::vector<std::pair<int, int>> expected = {{0, 0},  {0, 8},   {0, 16},  {0, 25}, // column weights: m·25/3
                                                     {25, 0}, {25, 6},  {25, 12}, {25, 18}, {25, 25}, // rows: m·25/4
                                                     {50, 0}, {50, 25},                               // row weights
                                                     {75, 0}, {75, 8},  {75, 16}, {75, 25}};          // columns
        EXPECT_EQ(calls, expected);
    }
    // A step of one item shows its quarter full instead of dividing by zero.
    std::vector<std::pair<int, int>> calls;
    StatusProgress progress{101, [&](int offset, int length) { calls.emplace_back(offset, length); }};
    Bitmap destination(1, 1);
    ResampleBitmap(testimages::randomImage(1, 1, 1), destination, MitchellFilter, 2.0F, progress);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 25}, {25, 25}, {50, 25}, {75, 25}}));
}

TEST(ResampleBitmap, RefusesBadSizesAndSupportsWithAClearError)
{
    Bitmap destination(4, 4);
    EXPECT_EQ(errorOf([&] { ResampleBitmap(Bitmap(0, 5), destination, MitchellFilter, 2.0F); }),
              "Source bitmap too small");
    EXPECT_EQ(errorOf([&] { ResampleBitmap(Bitmap(5, 0), destination, MitchellFilter, 2.0F); }),
              "Source bitmap too small");
    EXPECT_EQ(errorOf([&] { ResampleBitmap(Bitmap(), destination, MitchellFilter, 2.0F); }), "Source bitmap too small");
    Bitmap source = testimages::randomImage(3, 3, 2);
    Bitmap empty(0, 3);
    EXPECT_EQ(errorOf([&] { ResampleBitmap(source, empty, MitchellFilter, 2.0F); }), "Destination bitmap too small");
    for (float support :
         {0.0F, -1.0F, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1000.0F}) {
        EXPECT_EQ(errorOf([&] { ResampleBitmap(source, destination, MitchellFilter, support); }),
                  "Invalid filter support");
    }
    EXPECT_EQ(errorOf([&] { ResampleBitmap(source, destination, nullptr, 2.0F); }), "Invalid filter support");
    // The intermediate image would be 1024 × 2^20 pixels.
    Bitmap tall(1, 1 << 20);
    Bitmap wide(1024, 1);
    EXPECT_EQ(errorOf([&] { ResampleBitmap(tall, wide, MitchellFilter, 2.0F); }), "Image too big to resample");
}
