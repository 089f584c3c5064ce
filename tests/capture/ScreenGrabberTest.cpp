#include "capture/ScreenGrabber.h"
#include "platform/fake/FakeScreenSource.h"

#include <gtest/gtest.h>

namespace {

// A 40 x 30 screen whose pixel (x, y) has red x, green y, blue 7.
Bitmap numberedScreen()
{
    Bitmap screen(40, 30);
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            screen.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7));
        }
    }
    return screen;
}

// A 3 x 2 opaque white cursor with its hot spot at (1, 1).
CursorImage whiteCursor()
{
    CursorImage c;
    c.width = 3;
    c.height = 2;
    c.xHotspot = 1;
    c.yHotspot = 1;
    c.argb.assign(6, 0xFFFFFFFFu);
    return c;
}

constexpr ColorRef kWhite = 0xFFFFFF;

class ScreenGrabberTest : public ::testing::Test {
protected:
    FakeScreenSource screen{numberedScreen()};
    Bitmap bitmap{80, 80};
};

} // namespace

TEST_F(ScreenGrabberTest, ZeroSizedRequestsLeaveTheBitmapExactlyAsItWas)
{
    Bitmap indexed(5, 4, PixelFormat::Bpp8);
    indexed.setPixelValue(1, 1, 9);
    Bitmap before = indexed;
    GrabScreen(0, 0, 0, 10, indexed, true, screen);
    GrabScreen(0, 0, 10, 0, indexed, true, screen);
    GrabScreen(0, 0, -3, 10, indexed, true, screen);
    EXPECT_EQ(indexed, before);
    EXPECT_EQ(screen.pixelCopies + screen.paletteReads + screen.cursorReads, 0);
}

TEST_F(ScreenGrabberTest, CopiesTheRectangleAt24Bits)
{
    Bitmap indexed(5, 5, PixelFormat::Bpp8);
    GrabScreen(3, 4, 10, 6, indexed, false, screen);
    ASSERT_EQ(indexed.pixelFormat(), PixelFormat::Bpp24);
    ASSERT_EQ(indexed.width(), 10);
    ASSERT_EQ(indexed.height(), 6);
    EXPECT_EQ(indexed.pixelColor(0, 0), makeColor(3, 4, 7));
    EXPECT_EQ(indexed.pixelColor(9, 5), makeColor(12, 9, 7));
    EXPECT_FALSE(indexed.systemPalette());
}

TEST_F(ScreenGrabberTest, RectanglesLeavingTheScreenAreClippedAndBlackOutside)
{
    GrabScreen(-2, 25, 6, 10, bitmap, false, screen);
    ASSERT_EQ(bitmap.width(), 6);
    EXPECT_EQ(bitmap.pixelColor(0, 0), 0u);
    EXPECT_EQ(bitmap.pixelColor(2, 0), makeColor(0, 25, 7));
    EXPECT_EQ(bitmap.pixelColor(5, 4), makeColor(3, 29, 7));
    EXPECT_EQ(bitmap.pixelColor(5, 5), 0u) << "below the screen";

    // A second, same-sized grab further out must not show the first one's pixels.
    GrabScreen(-5, 25, 6, 10, bitmap, false, screen);
    EXPECT_EQ(bitmap.pixelColor(3, 0), 0u);
    EXPECT_EQ(bitmap.pixelColor(5, 0), makeColor(0, 25, 7));
}

TEST_F(ScreenGrabberTest, PaletteDisplaysAttachThePaletteWithItsReportedSize)
{
    screen.palette = std::vector<PaletteEntry>(236, PaletteEntry{1, 2, 3, 0});
    GrabScreen(0, 0, 4, 4, bitmap, false, screen);
    ASSERT_TRUE(bitmap.systemPalette());
    EXPECT_EQ(bitmap.systemPalette()->size(), 236u);

    screen.palette = std::vector<PaletteEntry>{};
    GrabScreen(0, 0, 4, 4, bitmap, false, screen);
    EXPECT_FALSE(bitmap.systemPalette()) << "no entries reported: no palette, and the old one is gone";
}

TEST_F(ScreenGrabberTest, NoScreenResizesButCopiesNothing)
{
    screen.available = false;
    screen.pointer = Point{5, 5};
    screen.cursor = whiteCursor();
    GrabScreen(0, 0, 7, 3, bitmap, true, screen);
    EXPECT_EQ(bitmap.width(), 7);
    EXPECT_EQ(bitmap.height(), 3);
    EXPECT_EQ(bitmap.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(screen.pixelCopies + screen.cursorReads, 0);
}

TEST_F(ScreenGrabberTest, TheCursorIsDrawnAtTheHotSpotCorrectedPlace)
{
    screen.cursor = whiteCursor();
    screen.pointer = Point{10, 10};
    GrabScreen(5, 5, 20, 20, bitmap, true, screen);
    // Hot spot (1, 1) at screen (10, 10): image from bitmap (4, 4) to (6, 5).
    EXPECT_EQ(bitmap.pixelColor(4, 4), kWhite);
    EXPECT_EQ(bitmap.pixelColor(6, 5), kWhite);
    EXPECT_EQ(bitmap.pixelColor(3, 4), makeColor(8, 9, 7));
    EXPECT_EQ(bitmap.pixelColor(7, 5), makeColor(12, 10, 7));
    EXPECT_EQ(bitmap.pixelColor(4, 6), makeColor(9, 11, 7));

    GrabScreen(5, 5, 20, 20, bitmap, false, screen);
    EXPECT_EQ(bitmap.pixelColor(4, 4), makeColor(9, 9, 7)) << "without the cursor: screen pixels only";
}

TEST_F(ScreenGrabberTest, TheHotSpotOnTheFirstColumnOrRowDrawsClipped)
{
    screen.cursor = whiteCursor();
    screen.pointer = Point{5, 8};
    GrabScreen(5, 8, 10, 10, bitmap, true, screen);
    EXPECT_EQ(bitmap.pixelColor(0, 0), kWhite);
    EXPECT_EQ(bitmap.pixelColor(1, 0), kWhite);
    EXPECT_EQ(bitmap.pixelColor(2, 0), makeColor(7, 8, 7));
    EXPECT_EQ(bitmap.pixelColor(0, 1), makeColor(5, 9, 7));

    screen.pointer = Point{14, 17}; // the last column and row
    GrabScreen(5, 8, 10, 10, bitmap, true, screen);
    EXPECT_EQ(bitmap.pixelColor(8, 8), kWhite);
    EXPECT_EQ(bitmap.pixelColor(9, 9), kWhite);
}

TEST_F(ScreenGrabberTest, AHotSpotJustPastTheRightOrBottomEdgeDrawsNothing)
{
    screen.cursor = whiteCursor();
    for (Point p : {Point{15, 10}, Point{10, 18}, Point{4, 10}, Point{10, 7}}) {
        screen.pointer = p;
        GrabScreen(5, 8, 10, 10, bitmap, true, screen);
        Bitmap plain;
        GrabScreen(5, 8, 10, 10, plain, false, screen);
        EXPECT_EQ(bitmap, plain) << p.x << "," << p.y;
    }
}

TEST_F(ScreenGrabberTest, NoCursorOrNoPointerDrawsNothing)
{
    Bitmap plain;
    GrabScreen(0, 0, 10, 10, plain, false, screen);
    screen.pointer = Point{2, 2};
    GrabScreen(0, 0, 10, 10, bitmap, true, screen);
    EXPECT_EQ(bitmap, plain);
    screen.pointer.reset();
    screen.cursor = whiteCursor();
    GrabScreen(0, 0, 10, 10, bitmap, true, screen);
    EXPECT_EQ(bitmap, plain);
}

TEST(DrawCursor, ComposesPremultipliedArgbOverThePixels)
{
    Bitmap b(2, 1);
    b.setPixelValue(0, 0, makeColor(200, 100, 50));
    b.setPixelValue(1, 0, makeColor(200, 100, 50));
    CursorImage c;
    c.width = 2;
    c.height = 1;
    // Half-transparent black, and half-transparent white premultiplied (0x80 alpha, 0x80 channels).
    c.argb = {0x80000000u, 0x80808080u};
    drawCursor(b, c, 0, 0);
    // dest * (255 - 128) / 255, rounded: 200 -> 100, 100 -> 50, 50 -> 25.
    EXPECT_EQ(b.pixelColor(0, 0), makeColor(100, 50, 25));
    EXPECT_EQ(b.pixelColor(1, 0), makeColor(228, 178, 153));

    // Clipped on every side without touching memory outside the bitmap.
    CursorImage big;
    big.width = 5;
    big.height = 5;
    big.argb.assign(25, 0xFF0000FFu); // opaque blue
    Bitmap small(2, 2);
    drawCursor(small, big, -2, -2);
    EXPECT_EQ(small.pixelColor(1, 1), makeColor(0, 0, 255));
    drawCursor(small, big, 1, 1);
    drawCursor(small, big, 2, 0);
    drawCursor(small, big, -100000, 100000);
    CursorImage broken = big;
    broken.argb.resize(3);
    drawCursor(small, broken, 0, 0);
}
