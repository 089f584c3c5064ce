// The preview picture, pixel by pixel where it matters: shadow, margins, the chequered image
// area outside the printable area, the image's printable part, the dotted outline and the frame.
#include "print/PreviewPainter.h"

#include <gtest/gtest.h>

namespace {

Bitmap numbered(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x11));
        }
    }
    return b;
}

} // namespace

TEST(PreviewPainter, ImageOverTheSheetEdgeShowsOnlyItsPrintablePart)
{
    // A 10 x 10 inch sheet in a 110 x 110 box: k = 10, the sheet from (5, 5) to (105, 105),
    // printable from 1 to 9 inches. The image spans 8 to 12 inches across and 2 to 4 down.
    SheetGeometry sheet{10, 10, {1, 1, 9, 9}};
    PageLayout layout;
    layout.zoom = 1;
    layout.printable = sheet.printable;
    layout.image = {8, 2, 12, 4};
    Bitmap image = numbered(40, 20); // 10 ppi: 4 x 2 inches at zoom 1
    Bitmap buffer;
    PreviewOptions options{true, true, makeColor(1, 2, 3)};
    paintPreview(buffer, {110, 110}, sheet, layout, image, 10, options);
    ASSERT_EQ(buffer.width(), 110);

    EXPECT_EQ(buffer.pixelColor(0, 0), makeColor(1, 2, 3));
    // The shadow: 15 / 100 inch, 1.5 pixels -> from 6 (halves to even: 6.5 -> 6).
    EXPECT_EQ(buffer.pixelColor(105, 50), 0U);
    EXPECT_EQ(buffer.pixelColor(50, 105), 0U);
    EXPECT_EQ(buffer.pixelColor(5, 105), makeColor(1, 2, 3));
    EXPECT_EQ(buffer.pixelColor(7, 7), kSheetGrey);
    EXPECT_EQ(buffer.pixelColor(50, 50), kSheetWhite);
    // The printable part, from its exact source rectangle: image x 0..9 px for 8..9 inches.
    EXPECT_EQ(buffer.pixelColor(86, 35), image.pixelColor(1, 10));
    EXPECT_EQ(buffer.pixelColor(94, 43), image.pixelColor(9, 18));
    // Beyond the printable area the grey sheet and the background get the white chequer.
    int whites = 0;
    int greys = 0;
    for (int x = 96; x < 104; ++x) {
        ColorRef c = buffer.pixelColor(x, 35);
        whites += c == kSheetWhite;
        greys += c == kSheetGrey;
    }
    EXPECT_EQ(whites, 4);
    EXPECT_EQ(greys, 4);
    EXPECT_EQ(buffer.pixelColor(107, 35) | buffer.pixelColor(108, 35), kSheetWhite | makeColor(1, 2, 3));
    // The dotted outline runs down the printable area's left edge; the frame alternates.
    int green = 0;
    for (int y = 15; y < 95; ++y) {
        green += buffer.pixelColor(15, y) == kMarginGreen;
    }
    EXPECT_EQ(green, 40);
    for (int x = 86; x < 96; ++x) {
        EXPECT_EQ(buffer.pixelColor(x, 25), ((x + 25) & 1) != 0 ? kSheetWhite : 0U) << x;
    }

    // Without margins the sheet is white, the image has no chequer inside, and no outline.
    options.showMargins = false;
    options.showFrame = false;
    paintPreview(buffer, {110, 110}, sheet, layout, image, 10, options);
    EXPECT_EQ(buffer.pixelColor(7, 7), kSheetWhite);
    EXPECT_EQ(buffer.pixelColor(15, 50), kSheetWhite);
    EXPECT_EQ(buffer.pixelColor(86, 25), image.pixelColor(1, 0));
}
