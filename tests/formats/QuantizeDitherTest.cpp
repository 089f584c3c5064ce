// QuantizeBitmap: result shape, serpentine order, and every engine against a plain reference
// implementation of error diffusion over a whole-image error buffer.
#include "GifTestSupport.h"
#include "common/ZentrapError.h"
#include "formats/ColorLookup.h"
#include "formats/Quantize.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using giftest::noisePicture;
using giftest::photoPicture;

struct Tap {
    int dy;
    int dx;
    int weight;
};

struct Kernel {
    int divisor;
    std::vector<Tap> taps;
};

// The published kernels, for rows scanned left to right.
Kernel referenceKernel(DitherMode mode)
{
    switch (mode) {
    case DitherMode::FloydSteinberg:
        return {16, {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}};
    case DitherMode::Stucki:
        return {42,
                {{0, 1, 8},
                 {0, 2, 4},
                 {1, -2, 2},
                 {1, -1, 4},
                 {1, 0, 8},
                 {1, 1, 4},
                 {1, 2, 2},
                 {2, -2, 1},
                 {2, -1, 2},
                 {2, 0, 4},
                 {2, 1, 2},
                 {2, 2, 1}}};
    case DitherMode::Sierra:
        return {32,
                {{0, 1, 5},
                 {0, 2, 3},
                 {1, -2, 2},
                 {1, -1, 4},
                 {1, 0, 5},
                 {1, 1, 4},
                 {1, 2, 2},
                 {2, -1, 2},
                 {2, 0, 3},
                 {2, 1, 2}}};
    case DitherMode::JarvisJudiceNinke:
        return {48,
                {{0, 1, 7},
                 {0, 2, 5},
                 {1, -2, 3},
                 {1, -1, 5},
                 {1, 0, 7},
                 {1, 1, 5},
                 {1, 2, 3},
                 {2, -2, 1},
                 {2, -1, 3},
                 {2, 0, 5},
                 {2, 1, 3},
                 {2, 2, 1}}};
    case DitherMode::StevensonArce:
        return {200,
                {{0, 2, 32},
                 {1, -3, 12},
                 {1, -1, 26},
                 {1, 1, 30},
                 {1, 3, 16},
                 {2, -2, 12},
                 {2, 0, 26},
                 {2, 2, 12},
                 {3, -3, 5},
                 {3, -1, 12},
                 {3, 1, 12},
                 {3, 3, 5}}};
    case DitherMode::Burkes:
        return {32, {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}};
    default:
        return {1, {}};
    }
}

int clampByte(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Straightforward error diffusion: one error sum per pixel and channel for the whole image.
std::vector<uint8_t> referenceDither(const Bitmap& source, DitherMode mode, ColorLookup& lookup)
{
    Kernel kernel = referenceKernel(mode);
    int w = source.width();
    int h = source.height();
    std::vector<int> errors(static_cast<size_t>(w * (h + 4) * 3), 0);
    std::vector<uint8_t> indices(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        int dir = y % 2 == 0 ? 1 : -1;
        for (int n = 0; n < w; ++n) {
            int x = dir > 0 ? n : w - 1 - n;
            const uint8_t* p = source.row(y) + x * 3;
            int src[3] = {p[2], p[1], p[0]};
            int corrected[3];
            for (int c = 0; c < 3; ++c) {
                int e = errors[static_cast<size_t>((y * w + x) * 3 + c)];
                corrected[c] = clampByte(src[c] + (e + kernel.divisor / 2) / kernel.divisor);
            }
            ColorMatch m = lookup.MapColor(static_cast<uint8_t>(corrected[0]), static_cast<uint8_t>(corrected[1]),
                                           static_cast<uint8_t>(corrected[2]));
            indices[static_cast<size_t>(y * w + x)] = m.index;
            int err[3] = {corrected[0] - m.red, corrected[1] - m.green, corrected[2] - m.blue};
            for (const Tap& t : kernel.taps) {
                int tx = x + t.dx * dir;
                if (tx < 0 || tx >= w) {
                    continue;
                }
                for (int c = 0; c < 3; ++c) {
                    errors[static_cast<size_t>(((y + t.dy) * w + tx) * 3 + c)] += t.weight * err[c];
                }
            }
        }
    }
    return indices;
}

std::vector<uint8_t> indicesOf(const Bitmap& b)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < b.height(); ++y) {
        out.insert(out.end(), b.row(y), b.row(y) + b.width());
    }
    return out;
}

Bitmap rowOfGreys(std::initializer_list<uint8_t> greys)
{
    Bitmap b(static_cast<int>(greys.size()), 1, PixelFormat::Bpp24);
    int x = 0;
    for (uint8_t g : greys) {
        b.setPixelValue(x++, 0, makeColor(g, g, g));
    }
    return b;
}

TEST(QuantizeBitmapTest, ResultIsEightBitWithPaletteThenBlack)
{
    Bitmap source = photoPicture(9, 5, 1);
    Bitmap result = QuantizeBitmap(source, ReductionMode::Monochrome, DitherMode::NearestColor, 8);
    EXPECT_EQ(result.pixelFormat(), PixelFormat::Bpp8);
    EXPECT_EQ(result.width(), 9);
    EXPECT_EQ(result.height(), 5);
    ASSERT_EQ(result.colorTable().size(), 256U);
    EXPECT_EQ(result.colorTable()[1], (RgbQuad{255, 255, 255, 0}));
    for (size_t i = 2; i < 256; ++i) {
        EXPECT_EQ(result.colorTable()[i], (RgbQuad{0, 0, 0, 0}));
    }
}

TEST(QuantizeBitmapTest, NearestColorScansRowsInSerpentineOrder)
{
    // Grays 64 and 71 share a 15-bit key; alone, 64 maps to 0 (a tie) and 71 to 128. Row 1 runs
    // right to left, so 64 asks first and 71 gets its choice.
    Bitmap source(2, 2, PixelFormat::Bpp24);
    source.setPixelValue(0, 0, makeColor(255, 255, 255));
    source.setPixelValue(1, 0, makeColor(255, 255, 255));
    source.setPixelValue(0, 1, makeColor(71, 71, 71));
    source.setPixelValue(1, 1, makeColor(64, 64, 64));
    Bitmap result = QuantizeBitmap(source, ReductionMode::WindowsGrayscale, DitherMode::NearestColor, 8);
    EXPECT_EQ(result.row(1)[0], 0);
    EXPECT_EQ(result.row(1)[1], 0);
    EXPECT_EQ(result.row(0)[0], 3);
}

TEST(QuantizeBitmapTest, BlackAndWhiteNeverDiffusesUnderMonochrome)
{
    Bitmap source(13, 7, PixelFormat::Bpp24);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 13; ++x) {
            source.setPixelValue(x, y, (x * y + x) % 3 == 0 ? makeColor(255, 255, 255) : makeColor(0, 0, 0));
        }
    }
    for (int d = 0; d <= 6; ++d) {
        Bitmap result = QuantizeBitmap(source, ReductionMode::Monochrome, DitherModeFromCode(d), 8);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 13; ++x) {
                EXPECT_EQ(result.row(y)[x], (x * y + x) % 3 == 0 ? 1 : 0) << "dither " << d;
            }
        }
    }
}

TEST(QuantizeBitmapTest, FloydSteinbergOnOnePixelWideImageSendsErrorStraightDown)
{
    // 100 maps to black leaving 100; only the "0" tap (5/16) reaches the next row: 100 + 31 = 131,
    // white. Without that error (or with the 7/16 or 1/16 tap instead) it would be black or 127.
    Bitmap source(1, 2, PixelFormat::Bpp24);
    source.setPixelValue(0, 0, makeColor(100, 100, 100));
    source.setPixelValue(0, 1, makeColor(100, 100, 100));
    Bitmap result = QuantizeBitmap(source, ReductionMode::Monochrome, DitherMode::FloydSteinberg, 8);
    EXPECT_EQ(result.row(0)[0], 0);
    EXPECT_EQ(result.row(1)[0], 1);
}

TEST(QuantizeBitmapTest, ErrorTermsAreDividedTruncatingTowardZero)
{
    // 200 -> white leaves -55; the next pixel gets (-385 + 8) div 16 = -23 (not -24): 151 - 23 = 128.
    Bitmap result = QuantizeBitmap(rowOfGreys({200, 151}), ReductionMode::Monochrome, DitherMode::FloydSteinberg, 8);
    EXPECT_EQ(result.row(0)[0], 1);
    EXPECT_EQ(result.row(0)[1], 1);
}

TEST(QuantizeBitmapTest, EveryEngineMatchesTheReferenceDiffusion)
{
    const Bitmap pictures[] = {noisePicture(23, 9, 7), photoPicture(31, 12, 3), noisePicture(1, 8, 5),
                               noisePicture(5, 1, 9)};
    for (int d = 1; d <= 6; ++d) {
        DitherMode mode = DitherModeFromCode(d);
        for (const Bitmap& picture : pictures) {
            for (int palette : {1, 3, 4, 5, 6, 7}) {
                ReductionMode reduction = ReductionModeFromCode(palette);
                ColorPalette colors = MakeReductionPalette(picture, reduction, 4);
                auto lookup = CreateColorLookup(reduction, colors);
                std::vector<uint8_t> expected = referenceDither(picture, mode, *lookup);
                Bitmap result = QuantizeBitmap(picture, reduction, mode, 4);
                EXPECT_EQ(indicesOf(result), expected) << "dither " << d << " palette " << palette << " size "
                                                       << picture.width() << "x" << picture.height();
            }
        }
    }
}

TEST(QuantizeBitmapTest, ThirtyTwoBitSourceIsReducedLikeItsTwentyFourBitCopy)
{
    Bitmap source = photoPicture(17, 6, 2);
    Bitmap wide = source.converted(PixelFormat::Bpp32);
    EXPECT_EQ(QuantizeBitmap(wide, ReductionMode::OptimizedWindows, DitherMode::Sierra, 8),
              QuantizeBitmap(source, ReductionMode::OptimizedWindows, DitherMode::Sierra, 8));
}

TEST(QuantizeBitmapTest, RejectsEmptyImagesAndCodesOutOfRange)
{
    Bitmap empty(0, 4, PixelFormat::Bpp24);
    try {
        QuantizeBitmap(empty, ReductionMode::Netscape, DitherMode::NearestColor, 8);
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
    EXPECT_THROW(ReductionModeFromCode(0), ZentrapError);
    EXPECT_THROW(ReductionModeFromCode(9), ZentrapError);
    EXPECT_THROW(DitherModeFromCode(-1), ZentrapError);
    EXPECT_THROW(DitherModeFromCode(7), ZentrapError);
    Bitmap one = photoPicture(2, 2, 1);
    EXPECT_THROW(QuantizeBitmap(one, ReductionMode::Optimized, DitherMode::NearestColor, 0), ZentrapError);
    EXPECT_THROW(QuantizeBitmap(one, ReductionMode::Optimized, DitherMode::NearestColor, 9), ZentrapError);
}

} // namespace
