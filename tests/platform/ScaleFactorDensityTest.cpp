#include "platform/ScaleFactorDensity.h"

#include <gtest/gtest.h>

TEST(ScaleFactorDensity, FactorsAsDesktopsSetThemBecomePixelsPerInch)
{
    EXPECT_EQ(densityOfScaleFactors("1.5", ""), 144);
    EXPECT_EQ(densityOfScaleFactors("", "1.5"), 144);
    EXPECT_EQ(densityOfScaleFactors("", "1.25;1"), 120);
    EXPECT_EQ(densityOfScaleFactors("", "DP-1=2;HDMI-1=1"), 192);
    // Qt multiplies both when both are set.
    EXPECT_EQ(densityOfScaleFactors("1.5", "2"), 288);
    // Nothing usable: the desktop's own density stays.
    EXPECT_EQ(densityOfScaleFactors("", ""), std::nullopt);
    EXPECT_EQ(densityOfScaleFactors("abc", "0"), std::nullopt);
    EXPECT_EQ(densityOfScaleFactors("-1", "DP-1="), std::nullopt);
    // An unreadable global factor leaves the readable screen factor in force.
    EXPECT_EQ(densityOfScaleFactors("1.5x", "1.25"), 120);
}
