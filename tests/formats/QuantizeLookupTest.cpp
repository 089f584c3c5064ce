// The fixed palettes and the four colour lookups.
#include "formats/ColorLookup.h"
#include "formats/SystemPalettes.h"

#include <gtest/gtest.h>

namespace {

PaletteEntry rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return {r, g, b, 0};
}

TEST(SystemPalettesTest, DefaultPaletteHasTheTwentyStockColours)
{
    const auto& p = defaultPalette();
    EXPECT_EQ(p[0], rgb(0, 0, 0));
    EXPECT_EQ(p[7], rgb(192, 192, 192));
    EXPECT_EQ(p[9], rgb(166, 202, 240));
    EXPECT_EQ(p[10], rgb(255, 251, 240));
    EXPECT_EQ(p[11], rgb(160, 160, 164));
    EXPECT_EQ(p[19], rgb(255, 255, 255));
}

TEST(SystemPalettesTest, HalftoneHasSystemColoursCubeAndGreys)
{
    const auto& h = halftonePalette();
    const auto& d = defaultPalette();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(h[static_cast<size_t>(i)], d[static_cast<size_t>(i)]);
        EXPECT_EQ(h[static_cast<size_t>(246 + i)], d[static_cast<size_t>(10 + i)]);
    }
    EXPECT_EQ(h[10], rgb(0, 0, 0));
    EXPECT_EQ(h[10 + 36 * 1 + 6 * 2 + 3], rgb(51, 102, 153));
    EXPECT_EQ(h[225], rgb(255, 255, 255));
    EXPECT_EQ(h[226], rgb(12, 12, 12));
    EXPECT_EQ(h[229], rgb(49, 49, 49));
    EXPECT_EQ(h[245], rgb(243, 243, 243));
}

TEST(ColorLookupTest, MonochromeThresholdIsBetween127And128)
{
    MonochromeLookup mono;
    ColorMatch mid = mono.MapColor(128, 128, 128);
    EXPECT_EQ(mid.index, 1);
    EXPECT_EQ(mid.red, 255);
    ColorMatch below = mono.MapColor(127, 127, 127);
    EXPECT_EQ(below.index, 0);
    EXPECT_EQ(below.green, 0);
    // The weights matter: pure green is bright, pure blue is dark.
    EXPECT_EQ(mono.MapColor(0, 255, 0).index, 1);
    EXPECT_EQ(mono.MapColor(0, 0, 255).index, 0);
}

TEST(ColorLookupTest, NetscapeLevelsRoundAtTheMiddle)
{
    NetscapeColorLookup netscape;
    EXPECT_EQ(netscape.ColorCount(), 216);
    ColorMatch m = netscape.MapColor(48, 47, 255);
    EXPECT_EQ(m.red, 51);
    EXPECT_EQ(m.green, 0);
    EXPECT_EQ(m.blue, 255);
    EXPECT_EQ(m.index, 36 * 1 + 6 * 0 + 5);
    EXPECT_EQ(netscape.MapColor(255, 255, 255).index, 215);
}

TEST(ColorLookupTest, GrayScaleUsesIntegerWeights)
{
    GrayScaleLookup gray;
    EXPECT_EQ(gray.MapColor(255, 0, 0).index, 76);  // 77 * 255 >> 8
    EXPECT_EQ(gray.MapColor(0, 255, 0).index, 149); // 150 * 255 >> 8
    ColorMatch white = gray.MapColor(255, 255, 255);
    EXPECT_EQ(white.index, 255);
    EXPECT_EQ(white.blue, 255);
}

TEST(ColorLookupTest, FastLookupGivesSameEntryForSameFifteenBitKey)
{
    std::vector<PaletteEntry> palette = {rgb(0, 0, 0), rgb(12, 0, 0), rgb(255, 255, 255)};
    FastColorLookup lookup(palette);
    ColorMatch a = lookup.MapColor(8, 40, 40);
    ColorMatch b = lookup.MapColor(15, 40, 40);
    EXPECT_EQ(a.index, b.index);
}

TEST(ColorLookupTest, FastLookupKeepsTheChoiceOfTheFirstColourThatAsked)
{
    std::vector<PaletteEntry> palette = {rgb(0, 0, 0), rgb(20, 0, 0)};
    {
        FastColorLookup lookup(palette);
        EXPECT_EQ(lookup.MapColor(9, 0, 0).index, 0);  // nearer to black
        EXPECT_EQ(lookup.MapColor(15, 0, 0).index, 0); // same key: the cached choice
    }
    {
        FastColorLookup lookup(palette);
        EXPECT_EQ(lookup.MapColor(15, 0, 0).index, 1);
        EXPECT_EQ(lookup.MapColor(9, 0, 0).index, 1);
    }
}

TEST(ColorLookupTest, FastLookupPrefersThePalettesOwnEntryForItsKey)
{
    // (23, 0, 0) is nearest to entry 2 but shares its key with entry 1, registered for that key.
    std::vector<PaletteEntry> palette = {rgb(0, 0, 0), rgb(16, 0, 0), rgb(24, 0, 0)};
    FastColorLookup lookup(palette);
    EXPECT_EQ(lookup.MapColor(23, 0, 0).index, 1);
}

TEST(ColorLookupTest, FastLookupBreaksTiesTowardsTheLowestIndexAndTakesFirstDuplicate)
{
    std::vector<PaletteEntry> palette = {rgb(100, 0, 0), rgb(0, 0, 0), rgb(200, 0, 0), rgb(0, 0, 0)};
    FastColorLookup lookup(palette);
    EXPECT_EQ(lookup.MapColor(150, 0, 0).index, 0); // 50 from entries 0 and 2
    EXPECT_EQ(lookup.MapColor(2, 0, 0).index, 1);   // black twice: the first wins
    EXPECT_EQ(lookup.ColorCount(), 4);
}

TEST(ColorLookupTest, FastLookupTakesAtMost256Entries)
{
    std::vector<PaletteEntry> palette(300, rgb(1, 2, 3));
    FastColorLookup lookup(palette);
    EXPECT_EQ(lookup.ColorCount(), 256);
}

} // namespace
