#include "formats/FormatSize.h"

#include <gtest/gtest.h>

TEST(FormatSize, KilobytesUpToTheLastByteBelowOneMebibyte)
{
    EXPECT_EQ(FormatSize(0), "0 Kb");
    EXPECT_EQ(FormatSize(37 * 1024 + 100), "37 Kb");
    EXPECT_EQ(FormatSize(1023), "1 Kb");
    // 1,048,575 bytes are 1023.999 Kb: rounded, grouped, still kilobytes.
    EXPECT_EQ(FormatSize(1048575), "1,024 Kb");
}

TEST(FormatSize, MegabytesWithTwoDecimalsFromOneMebibyteOn)
{
    EXPECT_EQ(FormatSize(1048576), "1.00 Mb");
    EXPECT_EQ(FormatSize(1048576 + 1048576 / 2), "1.50 Mb");
    EXPECT_EQ(FormatSize(1048576 * 3 + 1048576 / 100 * 7 + 5000), "3.07 Mb");
    EXPECT_EQ(FormatSize(uint64_t{1536} * 1048576), "1,536.00 Mb");
}

TEST(FormatSize, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(FormatSize(512), "0 Kb");
    EXPECT_EQ(FormatSize(1536), "2 Kb");
    EXPECT_EQ(FormatSize(2560), "2 Kb");
    // 1,179,648 bytes are 1.125 Mb exactly and go down to 1.12; 1,441,792 are 1.375 and go up.
    EXPECT_EQ(FormatSize(1179648), "1.12 Mb");
    EXPECT_EQ(FormatSize(1441792), "1.38 Mb");
    EXPECT_EQ(FormatSize(1179648 + 1), "1.13 Mb");
}

TEST(FormatSize, UsesTheUsersSeparators)
{
    NumberSeparators german{".", ","};
    EXPECT_EQ(FormatSize(1048575, german), "1.024 Kb");
    EXPECT_EQ(FormatSize(1048576, german), "1,00 Mb");
    NumberSeparators french{"\u202f", ","};
    EXPECT_EQ(FormatSize(uint64_t{1200} * 1048576, french), "1\u202f200,00 Mb");
}
