#include "capture/FrameGeometry.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FrameGeometry, BandWidthFollowsPixelsPerInchWithHalvesToEven)
{
    EXPECT_EQ(borderWidthForPixelsPerInch(96), 14);
    EXPECT_EQ(borderWidthForPixelsPerInch(120), 18); // 17.5
    EXPECT_EQ(borderWidthForPixelsPerInch(72), 10);  // 10.5
    EXPECT_EQ(borderWidthForPixelsPerInch(144), 21);
    EXPECT_EQ(borderWidthForPixelsPerInch(0), 14);
    EXPECT_EQ(borderWidthForPixelsPerInch(-5), 14);
    EXPECT_GE(borderWidthForPixelsPerInch(1), 1);
    EXPECT_LE(2 * borderWidthForPixelsPerInch(INT_MAX) + 1, kMaxFrameExtent);
}

TEST(FrameGeometry, FirstStartSitsAQuarterInAndIsHalfTheScreen)
{
    EXPECT_EQ(defaultFrameSettings(Size{1920, 1080}), (FrameSettings{480, 270, 960, 540, 0}));
    EXPECT_EQ(defaultFrameSettings(Size{1023, 767}), (FrameSettings{255, 191, 511, 383, 0}));
}

TEST(FrameGeometry, PositionBeyondTheScreenGoesBackToItsDefault)
{
    const Size screen{1920, 1080};
    auto at = [&](int left, int top) { return correctedFrameSettings({left, top, 400, 300, 0}, screen, 14); };
    EXPECT_EQ(at(1920, 1080).left, 1920);
    EXPECT_EQ(at(1920, 1080).top, 1080);
    EXPECT_EQ(at(1921, 1081).left, 480);
    EXPECT_EQ(at(1921, 1081).top, 270);
    EXPECT_EQ(at(-300, -20).left, -300);
    EXPECT_EQ(at(-300, -20).top, -20);
}

TEST(FrameGeometry, AbsurdStoredValuesGiveAUsableFrame)
{
    const Size screen{1920, 1080};
    auto negative = correctedFrameSettings({100, 100, -500, INT_MIN, 7}, screen, 14);
    EXPECT_EQ(negative.width, 29);
    EXPECT_EQ(negative.height, 29);
    EXPECT_EQ(negative.units, 7); // kept, and written back unchanged

    auto huge = correctedFrameSettings({INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MIN}, screen, 14);
    EXPECT_EQ(huge.left, 480);
    EXPECT_EQ(huge.top, kMinFramePosition);
    EXPECT_EQ(huge.width, kMaxFrameExtent);
    EXPECT_EQ(huge.height, kMaxFrameExtent);
    EXPECT_EQ(huge.units, INT_MIN);

    auto zero = correctedFrameSettings({0, 0, 0, 0, 0}, screen, 18);
    EXPECT_EQ(zero.width, 37);
    EXPECT_EQ(zero.height, 37);
}

TEST(FrameGeometry, ClientSizeStaysAboveTheMinimum)
{
    EXPECT_EQ(clampedClientSize({28, 28}, 14), (Size{29, 29}));
    EXPECT_EQ(clampedClientSize({29, 30}, 14), (Size{29, 30}));
    EXPECT_EQ(clampedClientSize({-1, 100000}, 14), (Size{29, kMaxFrameExtent}));
}

TEST(FrameGeometry, CaptureRectIsTheHoleOnTheScreen)
{
    EXPECT_EQ(captureRect({480, 270}, {960, 540}, 14), Rect::fromSize(494, 284, 932, 512));
    EXPECT_EQ(captureRect({-50, -60}, {29, 29}, 14), Rect::fromSize(-36, -46, 1, 1));
    EXPECT_EQ(holeRect({960, 540}, 14), (Rect{14, 14, 946, 526}));
    EXPECT_EQ(holeRect({37, 37}, 18), (Rect{18, 18, 19, 19}));
}

TEST(FrameGeometry, OuterEdgesAndCornersAreForResizing)
{
    const Size client{200, 100};
    EXPECT_EQ(frameEdgesAt({0, 50}, client, 4, 14), unsigned{kEdgeLeft});
    EXPECT_EQ(frameEdgesAt({3, 50}, client, 4, 14), unsigned{kEdgeLeft});
    EXPECT_EQ(frameEdgesAt({4, 50}, client, 4, 14), unsigned{kEdgeNone}); // the band moves the frame
    EXPECT_EQ(frameEdgesAt({199, 50}, client, 4, 14), unsigned{kEdgeRight});
    EXPECT_EQ(frameEdgesAt({100, 99}, client, 4, 14), unsigned{kEdgeBottom});
    EXPECT_EQ(frameEdgesAt({0, 0}, client, 4, 14), unsigned{kEdgeLeft | kEdgeTop});
    EXPECT_EQ(frameEdgesAt({1, 10}, client, 4, 14), unsigned{kEdgeLeft | kEdgeTop});
    EXPECT_EQ(frameEdgesAt({190, 98}, client, 4, 14), unsigned{kEdgeRight | kEdgeBottom});
    EXPECT_EQ(frameEdgesAt({100, 50}, client, 4, 14), unsigned{kEdgeNone});
    EXPECT_EQ(frameEdgesAt({-1, 50}, client, 4, 14), unsigned{kEdgeNone});
    EXPECT_EQ(frameEdgesAt({200, 50}, client, 4, 14), unsigned{kEdgeNone});
}

TEST(FrameGeometry, ResizingKeepsTheOppositeEdgeAndTheMinimum)
{
    const Rect start{100, 100, 400, 300};
    EXPECT_EQ(resizedFrame(start, kEdgeRight, 50, 80, 14), (Rect{100, 100, 450, 300}));
    EXPECT_EQ(resizedFrame(start, kEdgeLeft | kEdgeTop, -20, 30, 14), (Rect{80, 130, 400, 300}));
    // Shrinking stops at 29 x 29 (a 1 x 1 hole), whichever edge is dragged.
    EXPECT_EQ(resizedFrame(start, kEdgeLeft | kEdgeBottom, 1000, -1000, 14), (Rect{371, 100, 400, 129}));
    EXPECT_EQ(resizedFrame(start, kEdgeRight | kEdgeTop, -1000, 1000, 14), (Rect{100, 271, 129, 300}));
    EXPECT_EQ(resizedFrame(start, kEdgeRight, 100000, 0, 14).width(), kMaxFrameExtent);
    EXPECT_EQ(resizedFrame(start, kEdgeNone, 10, 10, 14), start);
}
