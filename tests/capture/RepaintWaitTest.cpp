#include "capture/RepaintWait.h"

#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeScreenSource.h"
#include "platform/fake/FakeUncoverWatch.h"

#include <gtest/gtest.h>

// A window behind the hidden one that answers its exposure late and in two steps (its background
// 150 ms after the hide, its content 8 ms later): the wait ends on the finished repaint, long before
// the limit; a window that never paints gets the limit and no more; over the bare desktop nothing
// is waited for once the window is gone.
TEST(RepaintWaitTest, EndsOnTheFinishedRepaintOfASlowWindowAndNeverPassesTheLimit)
{
    const Rect covered = Rect::fromSize(10, 20, 30, 40);
    FakeScreenSource screen{Bitmap(64, 64)};
    FakeClock clock;
    FakeUncoverWatch watch;
    bool hidden = false;
    watch.isUncovered = [&] { return hidden && clock.now() >= 3; }; // the window manager's unmap
    watch.hasPainted = [&] { return clock.now() >= 150; };
    clock.onWait = [&](int) {
        if (clock.now() >= 158) {
            screen.pixels.fillRect(Rect::fromSize(0, 0, 64, 64), 0x00336699);
        } else if (clock.now() >= 150) {
            screen.pixels.fillRect(Rect::fromSize(0, 0, 64, 64), 0x00FFFFFF);
        }
    };
    RepaintWaitOutcome outcome = hideAndWaitForRepaint(
        covered, 7, [&] { hidden = true; }, watch, screen, clock);
    EXPECT_TRUE(outcome.settled);
    EXPECT_GE(outcome.milliseconds, 158 + 2 * RepaintWaitRule{}.pollMilliseconds) << "caught half-way";
    EXPECT_LT(outcome.milliseconds, 200);
    EXPECT_EQ(watch.watched, 7U);
    EXPECT_EQ(watch.watchedArea, covered);
    EXPECT_EQ(watch.stops, 1);

    watch.hasPainted = [] { return false; };
    outcome = hideAndWaitForRepaint(
        covered, 7, [] {}, watch, screen, clock);
    EXPECT_FALSE(outcome.settled);
    EXPECT_GE(outcome.milliseconds, 300);
    EXPECT_LT(outcome.milliseconds, 300 + RepaintWaitRule{}.pollMilliseconds + 1);

    watch.hasWindowBehind = false;
    const long long before = clock.now();
    outcome = hideAndWaitForRepaint(
        covered, 7, [] {}, watch, screen, clock);
    EXPECT_TRUE(outcome.settled);
    EXPECT_EQ(clock.now(), before) << "the desktop background is painted at once";
}
