#include "platform/ScreenRowConverter.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ScreenRowConverter, BgrxRowsOfEveryLengthConvertExactly)
{
    for (int width : {0, 1, 7, 8, 9, 17, 64, 1921}) {
        std::vector<uint8_t> src(static_cast<size_t>(width) * 4);
        for (size_t i = 0; i < src.size(); ++i) {
            src[i] = static_cast<uint8_t>(i * 37 + 11);
        }
        std::vector<uint8_t> dst(static_cast<size_t>(width) * 3 + 1, 0xEE);
        bgrxToBgr(src.data(), dst.data(), width);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(dst[3 * x + c], src[4 * x + c]) << width << " " << x << " " << c;
            }
        }
        EXPECT_EQ(dst.back(), 0xEE) << "nothing written past the row";
    }
}

TEST(ScreenRowConverter, ReadsOtherTrueColourLayouts)
{
    // 16 bits, 5-6-5, least significant byte first: pure red, full green, a mid blue.
    ScreenPixelLayout rgb565{16, false, false, 0xF800, 0x07E0, 0x001F};
    ScreenRowConverter c565(rgb565);
    ASSERT_TRUE(c565.isSupported());
    uint16_t pixels[3] = {0xF800, 0x07E0, 0x0010};
    uint8_t out[9];
    c565.convert(reinterpret_cast<const uint8_t*>(pixels), out, 3);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 9), (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 132, 0, 0}));

    // 32 bits, most significant byte first (X, R, G, B in memory).
    ScreenPixelLayout bigEndian{32, true, false, 0xFF0000, 0xFF00, 0xFF};
    const uint8_t src[4] = {0, 10, 20, 30};
    ScreenRowConverter(bigEndian).convert(src, out, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{30, 20, 10}));

    EXPECT_FALSE(ScreenRowConverter(ScreenPixelLayout{4, false, true, 0, 0, 0}).isSupported());
}

TEST(ScreenRowConverter, IndexedPixelsLookUpTheColormap)
{
    ScreenPixelLayout indexed{8, false, true, 0, 0, 0};
    std::vector<PaletteEntry> colormap = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    ScreenRowConverter converter(indexed, colormap);
    const uint8_t src[3] = {1, 0, 200}; // 200 is past the colormap
    uint8_t out[9];
    converter.convert(src, out, 3);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 9), (std::vector<uint8_t>{255, 0, 0, 0, 0, 255, 0, 0, 0}));
}
