#include "editor/Rotation.h"

#include "TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

Bitmap rotated(const Bitmap& source, RotationAngle angle)
{
    Bitmap out;
    RotateBitmap(source, out, angle);
    return out;
}

const RotationAngle kAngles[] = {RotationAngle::Rotate90, RotationAngle::Rotate180, RotationAngle::Rotate270};

// Where source pixel (x, y) lands, by the table of the three angles.
Point landing(RotationAngle angle, int x, int y, int ws, int hs)
{
    switch (angle) {
    case RotationAngle::Rotate90:
        return {hs - 1 - y, x};
    case RotationAngle::Rotate180:
        return {ws - 1 - x, hs - 1 - y};
    case RotationAngle::Rotate270:
        return {y, ws - 1 - x};
    }
    return {};
}

} // namespace

TEST(Rotation, ThreeByTwoTurnsItsCornersClockwise)
{
    Bitmap image = testimages::numberedImage(3, 2); // values 0 1 2 / 3 4 5
    Bitmap r90 = rotated(image, RotationAngle::Rotate90);
    ASSERT_EQ(r90.width(), 2);
    ASSERT_EQ(r90.height(), 3);
    // The top row becomes the right-most column: 3 0 / 4 1 / 5 2.
    uint32_t expected90[3][2] = {{3, 0}, {4, 1}, {5, 2}};
    uint32_t expected270[3][2] = {{2, 5}, {1, 4}, {0, 3}};
    Bitmap r270 = rotated(image, RotationAngle::Rotate270);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(r90.pixelValue(x, y), expected90[y][x]);
            EXPECT_EQ(r270.pixelValue(x, y), expected270[y][x]);
        }
    }
    Bitmap r180 = rotated(image, RotationAngle::Rotate180);
    ASSERT_EQ(r180.width(), 3);
    EXPECT_EQ(r180.pixelValue(0, 0), 5U);
    EXPECT_EQ(r180.pixelValue(2, 1), 0U);
}

// Every pixel differs, so this also shows that each turn is a permutation of the pixels.
TEST(Rotation, EveryAngleMovesEachPixelToItsPlaceOnVariedSizes)
{
    // Widths around 16 and 32 cover the vector reversal, its tail and the tile edges.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 9}, std::pair{9, 1}, std::pair{15, 4}, std::pair{16, 3},
                        std::pair{17, 33}, std::pair{33, 17}, std::pair{48, 2}, std::pair{70, 65}}) {
        Bitmap image = testimages::numberedImage(w, h);
        for (RotationAngle angle : kAngles) {
            Bitmap out = rotated(image, angle);
            bool quarter = angle != RotationAngle::Rotate180;
            ASSERT_EQ(out.width(), quarter ? h : w);
            ASSERT_EQ(out.height(), quarter ? w : h);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    Point p = landing(angle, x, y, w, h);
                    ASSERT_EQ(out.pixelValue(p.x, p.y), image.pixelValue(x, y))
                        << w << "x" << h << " angle " << static_cast<int>(angle) << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(Rotation, TurnsAddUpToTheStartingImage)
{
    for (const auto& [name, image] : testimages::variedImages()) {
        SCOPED_TRACE(name);
        Bitmap turned = image;
        for (int i = 0; i < 4; ++i) {
            turned = rotated(turned, RotationAngle::Rotate90);
        }
        EXPECT_EQ(turned, image);
        EXPECT_EQ(rotated(rotated(image, RotationAngle::Rotate180), RotationAngle::Rotate180), image);
        EXPECT_EQ(rotated(rotated(image, RotationAngle::Rotate90), RotationAngle::Rotate270), image);
        EXPECT_EQ(rotated(rotated(image, RotationAngle::Rotate90), RotationAngle::Rotate90),
                  rotated(image, RotationAngle::Rotate180));
    }
}

TEST(Rotation, OnePixelStaysAndInPlaceRotationWorks)
{
    Bitmap single = testimages::randomImage(1, 1, 3);
    for (RotationAngle angle : kAngles) {
        EXPECT_EQ(rotated(single, angle), single);
    }
    Bitmap image = testimages::randomImage(7, 4, 8);
    Bitmap expected = rotated(image, RotationAngle::Rotate90);
    RotateBitmap(image, image, RotationAngle::Rotate90);
    EXPECT_EQ(image, expected);
}

TEST(Rotation, IndexedImagesTurnAsTwentyFourBits)
{
    Bitmap indexed(5, 3, PixelFormat::Bpp4);
    indexed.setPixelValue(4, 0, 9);
    Bitmap out = rotated(indexed, RotationAngle::Rotate90);
    EXPECT_EQ(out.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(out.pixelColor(2, 4), indexed.pixelColor(4, 0));
}

TEST(Rotation, ProgressMovesOnEveryOddRow)
{
    for (RotationAngle angle : kAngles) {
        std::vector<std::pair<int, int>> calls;
        StatusProgress progress{100, [&](int offset, int length) { calls.emplace_back(offset, length); }};
        Bitmap out;
        RotateBitmap(testimages::randomImage(40, 6, 1), out, angle, progress);
        // Step 100 / 6: rows 1, 3, 5 give 16.7, 50, 83.3.
        EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 16}, {0, 50}, {0, 83}}));
    }
}
