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
    // 1.005 Mb exactly (in hundredths: 100.5) goes down to 1.00, 1.015 up to 1.02.
    EXPECT_EQ(FormatSize(1048576 + 1048576 / 200), "1.00 Mb");
    EXPECT_EQ(FormatSize(1048576 + 1048576 * 3 / 200), "1.02 Mb");
}

TEST(FormatSize, UsesTheUsersSeparators)
{
    NumberSeparators german{".", ","};
    EXPECT_EQ(FormatSize(1048575, german), "1.024 Kb");
    EXPECT_EQ(FormatSize(1048576, german), "1,00 Mb");
    NumberSeparators french{"\u202f", ","};
    EXPECT_EQ(FormatSize(uint64_t{1200} * 1048576, french), "1\u202f200,00 Mb");
}
