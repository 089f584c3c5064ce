#include "editor/FilterTable.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FilterTable, HoldsTheSevenFiltersWithTheirSupports)
{
    const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
    const float supports[] = {0.5F, 1.0F, 1.0F, 1.5F, 2.0F, 3.0F, 2.0F};
    ASSERT_EQ(FilterTable.size(), 7U);
    for (size_t i = 0; i < FilterTable.size(); ++i) {
        EXPECT_EQ(FilterTable[i].name, names[i]);
        EXPECT_EQ(FilterTable[i].support, supports[i]);
    }
    EXPECT_EQ(findResampleFilter("mitchell"), &FilterTable[6]);
    EXPECT_EQ(findResampleFilter("B-SPLINE"), &FilterTable[4]);
    EXPECT_EQ(findResampleFilter("bicubic"), nullptr);
}

TEST(FilterTable, ValuesAtKnownPointsAreTheExtendedResultRoundedToFloat)
{
    EXPECT_EQ(MitchellFilter(0.0F), static_cast<float>(8.0L / 9.0L));
    EXPECT_EQ(MitchellFilter(1.0F), static_cast<float>(1.0L / 18.0L));
    EXPECT_EQ(MitchellFilter(-1.0F), static_cast<float>(1.0L / 18.0L));
    EXPECT_NEAR(MitchellFilter(0.5F), 0.5347222F, 1e-7F);
    EXPECT_NEAR(MitchellFilter(1.5F), -0.0347222F, 1e-7F);
    EXPECT_EQ(SplineFilter(0.0F), static_cast<float>(2.0L / 3.0L));
    EXPECT_EQ(SplineFilter(1.0F), static_cast<float>(1.0L / 6.0L));
    EXPECT_EQ(BellFilter(0.0F), 0.75F);
    EXPECT_EQ(BellFilter(0.5F), 0.5F);
    EXPECT_EQ(BellFilter(1.0F), 0.125F);
    EXPECT_EQ(HermiteFilter(0.5F), 0.5F);
    EXPECT_EQ(TriangleFilter(0.25F), 0.75F);
    EXPECT_EQ(Lanczos3Filter(0.0F), 1.0F);
    long double pi = 3.141592653589793238462643383279502884L;
    long double half = (std::sin(pi * 0.5L) / (pi * 0.5L)) * (std::sin(pi / 6.0L) / (pi / 6.0L));
    EXPECT_EQ(Lanczos3Filter(0.5F), static_cast<float>(half));
}

TEST(FilterTable, BoxIsHalfOpenSoATieBelongsToOneSide)
{
    EXPECT_EQ(BoxFilter(0.5F), 1.0F);
    EXPECT_EQ(BoxFilter(-0.5F), 0.0F);
    EXPECT_EQ(BoxFilter(0.0F), 1.0F);
    EXPECT_EQ(BoxFilter(0.51F), 0.0F);
}

TEST(FilterTable, EveryFilterIsEvenAndVanishesFromItsSupportOn)
{
    for (const ResampleFilter& f : FilterTable) {
        SCOPED_TRACE(std::string(f.name));
        EXPECT_EQ(f.function(f.support + 0.25F), 0.0F);
        EXPECT_EQ(f.function(-f.support - 3.0F), 0.0F);
        EXPECT_EQ(f.function(-f.support), 0.0F);
        if (f.name != "Box") { // Box keeps +0.5 (tested above)
            EXPECT_EQ(f.function(f.support), 0.0F);
            for (float x = 0.05F; x < f.support; x += 0.1F) {
                EXPECT_EQ(f.function(x), f.function(-x)) << x;
            }
        }
    }
}
