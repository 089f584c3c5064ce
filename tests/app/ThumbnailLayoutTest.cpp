#include "app/ThumbnailLayout.h"
#include "common/Bitmap.h"

#include <gtest/gtest.h>

TEST(ThumbnailLayout, WideImageSpansTheWidthAndIsCentredVertically)
{
    EXPECT_EQ(thumbnailRect({400, 100}), (Rect{0, 30, 80, 50}));
    EXPECT_EQ(thumbnailRect({100, 400}), (Rect{30, 0, 50, 80}));
}

TEST(ThumbnailLayout, SmallAndSquareImagesAreEnlargedToTheWholeBox)
{
    EXPECT_EQ(thumbnailRect({40, 40}), (Rect{0, 0, 80, 80}));
    EXPECT_EQ(thumbnailRect({80, 80}), (Rect{0, 0, 80, 80}));
    EXPECT_EQ(thumbnailRect({1, 1}), (Rect{0, 0, 80, 80}));
    EXPECT_EQ(thumbnailRect({1920, 1080}), (Rect{0, 18, 80, 62})) << "margin 17.5 rounds to 18, bottom 62.5 to 62";
}

TEST(ThumbnailLayout, HalvesRoundToTheEvenNeighbour)
{
    // 80 x 25: margin 27.5 rounds to 28, bottom 52.5 to 52.
    EXPECT_EQ(thumbnailRect({80, 25}), (Rect{0, 28, 80, 52}));
    // 80 x 23: margin 28.5 rounds to 28, bottom 51.5 to 52.
    EXPECT_EQ(thumbnailRect({80, 23}), (Rect{0, 28, 80, 52}));
}

TEST(ThumbnailLayout, EmptyImageGivesNoRectangle)
{
    EXPECT_TRUE(thumbnailRect({0, 10}).isEmpty());
    EXPECT_TRUE(thumbnailRect({10, -1}).isEmpty());
}

TEST(ThumbnailLayout, PictureIsTheImageOnBlack)
{
    Bitmap image(400, 100);
    image.fillRect({0, 0, 400, 100}, makeColor(200, 10, 20));
    image.fillRect({395, 0, 400, 100}, makeColor(0, 0, 250));
    const Bitmap thumb = thumbnailBitmap(image);
    ASSERT_EQ(thumb.width(), 80);
    ASSERT_EQ(thumb.height(), 80);
    EXPECT_EQ(thumb.pixelFormat(), PixelFormat::Bpp24);
    EXPECT_EQ(thumb.pixelColor(40, 29), makeColor(0, 0, 0));
    EXPECT_EQ(thumb.pixelColor(0, 30), makeColor(200, 10, 20));
    EXPECT_EQ(thumb.pixelColor(78, 49), makeColor(200, 10, 20));
    EXPECT_EQ(thumb.pixelColor(79, 40), makeColor(0, 0, 250)) << "the last column comes from the image's right edge";
    EXPECT_EQ(thumb.pixelColor(40, 50), makeColor(0, 0, 0));
}

TEST(ThumbnailLayout, IndexedImagesAreShownThroughTheirColours)
{
    Bitmap image(10, 10, PixelFormat::Bpp8);
    image.setColorTable({RgbQuad{}, RgbQuad{30, 60, 90, 0}});
    image.fillRect({0, 0, 10, 10}, makeColor(90, 60, 30));
    const Bitmap thumb = thumbnailBitmap(image);
    EXPECT_EQ(thumb.pixelColor(0, 0), makeColor(90, 60, 30));
    EXPECT_EQ(thumb.pixelColor(79, 79), makeColor(90, 60, 30));
}
