#include "common/Bitmap.h"
#include "common/Rounding.h"
#include "common/ZentrapError.h"

#include <gtest/gtest.h>

TEST(Bitmap, StrideIsPaddedToFourBytesForEveryFormat)
{
    EXPECT_EQ(dibStride(1, PixelFormat::Bpp24), 4U);
    EXPECT_EQ(dibStride(5, PixelFormat::Bpp24), 16U);
    EXPECT_EQ(dibStride(9, PixelFormat::Bpp1), 4U);
    EXPECT_EQ(dibStride(33, PixelFormat::Bpp1), 8U);
    EXPECT_EQ(dibStride(13, PixelFormat::Bpp4), 8U);
    EXPECT_EQ(dibStride(3, PixelFormat::Bpp8), 4U);
    EXPECT_EQ(dibStride(3, PixelFormat::Bpp32), 12U);
}

TEST(Bitmap, TwentyFourBitPixelsAreBlueGreenRed)
{
    Bitmap b(2, 1);
    b.setPixelValue(1, 0, makeColor(10, 20, 30));
    EXPECT_EQ(b.row(0)[3], 30);
    EXPECT_EQ(b.row(0)[4], 20);
    EXPECT_EQ(b.row(0)[5], 10);
    EXPECT_EQ(b.pixelColor(1, 0), makeColor(10, 20, 30));
}

TEST(Bitmap, ResizingKeepsTheOverlapAndBlackensNewPixels)
{
    Bitmap b(2, 2);
    b.fillRect({0, 0, 2, 2}, makeColor(255, 255, 255));
    b.setSize(3, 1);
    EXPECT_EQ(b.pixelColor(0, 0), makeColor(255, 255, 255));
    EXPECT_EQ(b.pixelColor(1, 0), makeColor(255, 255, 255));
    EXPECT_EQ(b.pixelColor(2, 0), 0U);

    Bitmap mono(8, 1, PixelFormat::Bpp1);
    mono.row(0)[0] = 0xFF;
    mono.setWidth(3);
    mono.setWidth(8);
    EXPECT_EQ(mono.row(0)[0], 0xE0) << "bits beyond a narrowed width must not come back";
}

TEST(Bitmap, CopiesNeverSharePixels)
{
    Bitmap a(4, 4);
    Bitmap b = a;
    b.fillRect({0, 0, 4, 4}, makeColor(1, 2, 3));
    EXPECT_EQ(a.pixelColor(0, 0), 0U);
    EXPECT_FALSE(a == b);
}

TEST(Bitmap, BlockCopyClipsAtEveryEdge)
{
    Bitmap src(3, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            src.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9));
        }
    }
    Bitmap dst(2, 2);
    dst.copyRect({-1, -1}, src, {0, 0, 3, 3});
    EXPECT_EQ(dst.pixelColor(0, 0), makeColor(1, 1, 9));
    EXPECT_EQ(dst.pixelColor(1, 1), makeColor(2, 2, 9));

    Bitmap dst2(3, 3);
    dst2.copyRect({0, 0}, src, {-1, -1, 2, 2}); // source rectangle hanging off the top-left
    EXPECT_EQ(dst2.pixelColor(1, 1), makeColor(0, 0, 9));
    EXPECT_EQ(dst2.pixelColor(2, 2), makeColor(1, 1, 9));
    EXPECT_EQ(dst2.pixelColor(0, 0), 0U);
}

TEST(Bitmap, StretchUsesFloorOfScaledIndex)
{
    Bitmap src(3, 1);
    for (int x = 0; x < 3; ++x) {
        src.setPixelValue(x, 0, makeColor(static_cast<uint8_t>(10 * (x + 1)), 0, 0));
    }
    Bitmap dst(7, 2);
    dst.stretchCopy({0, 0, 7, 2}, src, {0, 0, 3, 1});
    const int expected[7] = {0, 0, 0, 1, 1, 2, 2}; // floor(x * 3 / 7)
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(redOf(dst.pixelColor(x, 1)), 10 * (expected[x] + 1)) << x;
    }
}

TEST(Bitmap, IndexedFormatsPackPixelsHighBitsFirst)
{
    Bitmap b4(3, 1, PixelFormat::Bpp4);
    b4.setPixelValue(0, 0, 0x7);
    b4.setPixelValue(1, 0, 0xA);
    b4.setPixelValue(2, 0, 0x3);
    EXPECT_EQ(b4.row(0)[0], 0x7A);
    EXPECT_EQ(b4.row(0)[1], 0x30);

    Bitmap b1(9, 1, PixelFormat::Bpp1);
    b1.setPixelValue(0, 0, 1);
    b1.setPixelValue(8, 0, 1);
    EXPECT_EQ(b1.row(0)[0], 0x80);
    EXPECT_EQ(b1.row(0)[1], 0x80);
}

TEST(Bitmap, ConversionUpIsExactAndDownUsesTheTable)
{
    Bitmap indexed(2, 1, PixelFormat::Bpp8);
    indexed.setColorTable({{0, 0, 255, 0}, {255, 0, 0, 0}});
    indexed.setPixelValue(1, 0, 1);
    Bitmap rgb = indexed.converted(PixelFormat::Bpp24);
    EXPECT_EQ(rgb.pixelColor(0, 0), makeColor(255, 0, 0));
    EXPECT_EQ(rgb.pixelColor(1, 0), makeColor(0, 0, 255));

    Bitmap rgba = rgb.converted(PixelFormat::Bpp32);
    EXPECT_EQ(rgba.converted(PixelFormat::Bpp24), rgb);

    rgb.setColorTable({});
    Bitmap back(2, 1, PixelFormat::Bpp24);
    back.copyRect({0, 0}, rgb, {0, 0, 2, 1});
    Bitmap mono = back.converted(PixelFormat::Bpp1);
    EXPECT_EQ(mono.colorTable().size(), 2U);
}

TEST(Bitmap, BottomUpViewReversesRows)
{
    Bitmap b(1, 2);
    b.setPixelValue(0, 0, makeColor(1, 1, 1));
    b.setPixelValue(0, 1, makeColor(2, 2, 2));
    std::vector<uint8_t> dib = b.bottomUpRows();
    ASSERT_EQ(dib.size(), 8U);
    EXPECT_EQ(dib[0], 2);
    EXPECT_EQ(dib[4], 1);
}

TEST(Bitmap, AbsurdSizesAreRefused)
{
    EXPECT_THROW(Bitmap(-1, 5), ZentrapError);
    EXPECT_THROW(Bitmap(1 << 21, 1), ZentrapError);
    Bitmap b;
    EXPECT_TRUE(b.isEmpty());
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(0.5L), 0);
    EXPECT_EQ(roundHalfEven(1.5L), 2);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(-0.5L), 0);
    EXPECT_EQ(roundHalfEven(-1.5L), -2);
    EXPECT_EQ(roundHalfEven(2.4999L), 2);
    EXPECT_EQ(roundHalfEven(2.5001L), 3);
}

TEST(Rounding, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(mulDiv(1, 3, 2), 2);
    EXPECT_EQ(mulDiv(-1, 3, 2), -2);
    EXPECT_EQ(mulDiv(10, 1, 4), 3);
    EXPECT_EQ(mulDiv(5, 1, 0), -1);
}
