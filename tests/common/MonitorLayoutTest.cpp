#include "common/MonitorLayout.h"

#include <gtest/gtest.h>

namespace {

Monitor monitor(int left, int top, int width, int height, double density = 0)
{
    const Rect bounds = Rect::fromSize(left, top, width, height);
    return {bounds, bounds, density};
}

} // namespace

TEST(MonitorLayout, UnequalMonitorsTakeTheRightOneForEachPlaceAndLeaveTheirDeadCorner)
{
    // 1920 x 1080 primary, a 1280 x 1024 monitor of twice the density to its right.
    const MonitorLayout layout({monitor(0, 0, 1920, 1080, 96), monitor(1920, 0, 1280, 1024, 192)}, {});
    EXPECT_EQ(layout.desktop(), Rect::fromSize(0, 0, 3200, 1080));
    EXPECT_EQ(layout.fullScreenArea({2500, 10}, false), Rect::fromSize(1920, 0, 1280, 1024));
    EXPECT_EQ(layout.fullScreenArea({2500, 10}, true), Rect::fromSize(0, 0, 3200, 1080));
    // A point in the dead corner belongs to the nearer monitor.
    EXPECT_EQ(layout.monitorAt({3000, 1070}).bounds.left, 1920);
    EXPECT_EQ(layout.monitorAt({1900, 1070}).bounds.left, 0);
    // A window mostly on the second monitor is on it.
    EXPECT_EQ(layout.monitorOf(Rect::fromSize(1800, 100, 400, 300)).bounds.left, 1920);
    EXPECT_EQ(layout.uncoveredParts(layout.desktop()), (std::vector<Rect>{Rect{1920, 1024, 3200, 1080}}));
    EXPECT_TRUE(layout.uncoveredParts(Rect::fromSize(0, 0, 1920, 1080)).empty());
    // Rulers on the denser monitor count its own inches; the primary keeps the desktop's density.
    EXPECT_EQ(layout.rulerPixelsPerInch(layout.monitors()[0], 120), 120);
    EXPECT_EQ(layout.rulerPixelsPerInch(layout.monitors()[1], 120), 240);
}

TEST(MonitorLayout, OneMonitorIsTheScreenAsBefore)
{
    const MonitorLayout layout({}, {1920, 1080});
    const Rect screen = Rect::fromSize(0, 0, 1920, 1080);
    EXPECT_EQ(layout.primary().bounds, screen);
    EXPECT_EQ(layout.desktop(), screen);
    EXPECT_EQ(layout.fullScreenArea({5000, -40}, false), screen);
    EXPECT_EQ(layout.fullScreenArea({5, 5}, true), screen);
    EXPECT_EQ(layout.rulerPixelsPerInch(layout.primary(), 144), 144);
}
