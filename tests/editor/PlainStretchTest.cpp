#include "editor/PlainStretch.h"

#include "TestImages.h"
#include "common/ZentrapError.h"

#include <gtest/gtest.h>

TEST(PlainStretch, AnIntegerMultipleRepeatsEveryPixelExactly)
{
    for (const auto& [name, image] : testimages::variedImages()) {
        SCOPED_TRACE(name);
        for (int factor : {1, 2, 3}) {
            Bitmap out(image.width() * factor, image.height() * (factor + 1));
            PlainStretch(image, out);
            for (int y = 0; y < out.height(); ++y) {
                for (int x = 0; x < out.width(); ++x) {
                    ASSERT_EQ(out.pixelValue(x, y), image.pixelValue(x / factor, y / (factor + 1)));
                }
            }
        }
    }
}

TEST(PlainStretch, ShrinkingTakesTheFloorOfTheScaledIndex)
{
    Bitmap image = testimages::numberedImage(10, 7);
    Bitmap out(4, 3);
    PlainStretch(image, out);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(out.pixelValue(x, y), image.pixelValue(x * 10 / 4, y * 7 / 3));
        }
    }
    EXPECT_EQ(plainStretchIndex(3, 10, 4), 7);
    EXPECT_EQ(plainStretchIndex(0, 10, 4), 0);
    // Large sizes do not overflow the product.
    EXPECT_EQ(plainStretchIndex(1 << 20, 1 << 20, (1 << 20) + 1), (1 << 20) - 1);
}

TEST(PlainStretch, KeepsTheDestinationFormatAndRefusesAnEmptySource)
{
    Bitmap indexed(3, 2, PixelFormat::Bpp8);
    indexed.setPixelValue(1, 1, 200);
    Bitmap out(6, 4);
    PlainStretch(indexed, out);
    EXPECT_EQ(out.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(out.pixelColor(3, 3), indexed.pixelColor(1, 1));

    Bitmap empty(0, 4);
    try {
        PlainStretch(empty, out);
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_STREQ(e.what(), "Source bitmap too small");
    }
}
