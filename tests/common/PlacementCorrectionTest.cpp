#include "common/PlacementCorrection.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Two monitors side by side: 1280 x 1024 with a 30-pixel panel at its bottom, and 1920 x 1080 to
// its right, placed lower.
const std::vector<Rect> kScreens = {Rect::fromSize(0, 0, 1280, 994), Rect::fromSize(1280, 200, 1920, 1080)};

} // namespace

TEST(PlacementCorrection, KeepsReachableWindowsAndMovesLostOnesToTheirDefaultPlace)
{
    const Point home{590, 382};
    struct Case {
        Point position;
        Size size;
        Rect expected;
        const char* why;
    } cases[] = {
        {{100, 100}, {100, 260}, Rect::fromSize(100, 100, 100, 260), "fully on the primary"},
        {{1500, 900}, {100, 260}, Rect::fromSize(1500, 900, 100, 260), "on the second screen"},
        {{-68, 100}, {100, 260}, Rect::fromSize(-68, 100, 100, 260), "32 pixels still show"},
        {{-69, 100}, {100, 260}, Rect::fromSize(590, 382, 100, 260), "31 pixels do not"},
        {{1300, 0}, {100, 150}, Rect::fromSize(590, 382, 100, 150), "in the gap above the second screen"},
        {{1300, 50}, {100, 182}, Rect::fromSize(1300, 50, 100, 182), "reaching 32 pixels into the second"},
        {{5000, 5000}, {100, 260}, Rect::fromSize(590, 382, 100, 260), "far off every screen"},
        {{INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, Rect::fromSize(0, 0, 1280, 994), "extremes cannot overflow"},
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, Rect::fromSize(0, 0, 1280, 994), "ending just before the screens"},
        {{-5000, 0}, {5100, 100}, Rect::fromSize(0, 382, 1280, 100), "limited to its screen it would not show"},
        {{0, 0}, {32767, 32767}, Rect::fromSize(0, 0, 1280, 994), "size limited to the screen's area"},
        {{1400, 300}, {4000, 20}, Rect::fromSize(1400, 300, 1920, 20), "limited by the screen it is on"},
        {{10, 10}, {0, -5}, Rect::fromSize(10, 10, 1, 1), "empty sizes become one pixel"},
        {{1270, 500}, {100, 100}, Rect::fromSize(1270, 500, 100, 100), "split, with enough on the second screen"},
        {{1270, 500}, {3000, 100}, Rect::fromSize(1270, 500, 1920, 100), "limited by the screen showing most"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(correctedPlacement(c.position, c.size, kScreens, home), c.expected) << c.why;
    }
}

TEST(PlacementCorrection, TheDefaultPlaceKeepsTheWindowOnItsScreen)
{
    // A default near the primary's corner: the moved window is pulled back inside.
    EXPECT_EQ(correctedPlacement({9000, 9000}, {690, 526}, kScreens, {1000, 900}), Rect::fromSize(590, 468, 690, 526));
    // A default on the second screen stays on it.
    EXPECT_EQ(correctedPlacement({-9000, 0}, {690, 526}, kScreens, {2000, 300}), Rect::fromSize(2000, 300, 690, 526));
    // A default off every screen falls back to the primary.
    EXPECT_EQ(correctedPlacement({-9000, 0}, {100, 100}, kScreens, {-500, -500}), Rect::fromSize(0, 0, 100, 100));
    // No screens known: nothing to correct against.
    EXPECT_EQ(correctedPlacement({5000, 5000}, {10, 10}, {}, {0, 0}), Rect::fromSize(5000, 5000, 10, 10));
}

TEST(PlacementCorrection, AWindowAcrossScreensMayTakeTheirWholeSpanWhenAllowed)
{
    // Two 1920 x 1080 monitors side by side: a frame over the border keeps its width; on one
    // monitor alone it is still limited to that monitor.
    const std::vector<Rect> two{Rect::fromSize(0, 0, 1920, 1080), Rect::fromSize(1920, 0, 1920, 1080)};
    EXPECT_EQ(correctedPlacement({1000, 100}, {2400, 300}, two, {480, 270}, true),
              Rect::fromSize(1000, 100, 2400, 300));
    EXPECT_EQ(correctedPlacement({1000, 100}, {2400, 300}, two, {480, 270}), Rect::fromSize(1000, 100, 1920, 300));
    EXPECT_EQ(correctedPlacement({100, 100}, {1800, 2000}, two, {480, 270}, true),
              Rect::fromSize(100, 100, 1800, 1080));
}
