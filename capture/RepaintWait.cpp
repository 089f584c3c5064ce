#include "capture/RepaintWait.h"

#include "common/Bitmap.h"

namespace {

Bitmap grabArea(ScreenSource& screen, const Rect& area)
{
    Bitmap pixels(area.width(), area.height(), PixelFormat::Bpp24);
    screen.copyPixels(area.left, area.top, area.width(), area.height(), pixels);
    return pixels;
}

} // namespace

// Why the display's reports of drawing, and not the pixels alone: programs' windows have no
// background of their own on X, so the server leaves in the uncovered area whatever was last
// there (the window's pixels, or the background of the frame the window manager drew around it
// a moment before) until the program behind paints, however late; pixels that stay the same
// cannot tell that from a finished repaint that came before the first look. Only the bare
// desktop background is painted by the server at once. Once painted, the area must stay the same
// over several grabs, so that a window painted in steps is not caught half-way.
RepaintWaitOutcome hideAndWaitForRepaint(Rect covered, NativeWindow outer, const std::function<void()>& hide,
                                         UncoverWatch& watch, ScreenSource& screen, Clock& clock, RepaintWaitRule rule)
{
    const long long start = clock.milliseconds();
    const auto elapsed = [&] { return clock.milliseconds() - start; };
    const auto waitFor = [&](auto condition) {
        while (!condition()) {
            if (elapsed() >= rule.limitMilliseconds) {
                return false;
            }
            clock.wait(rule.pollMilliseconds);
        }
        return true;
    };
    struct Stop {
        UncoverWatch& watch;
        ~Stop() { watch.stop(); }
    } stopAtEnd{watch};
    watch.start(outer, covered);
    hide();
    if (!waitFor([&] { return watch.uncovered(); })) {
        return {elapsed(), false};
    }
    if (!watch.windowBehind()) {
        return {elapsed(), true};
    }
    Bitmap previous;
    int still = 0;
    const bool settled = waitFor([&] {
        if (!watch.paintedSinceUncovered()) {
            return false;
        }
        Bitmap now = grabArea(screen, covered);
        still = now == previous ? still + 1 : 1;
        previous = std::move(now);
        return still >= rule.stillGrabs;
    });
    return {elapsed(), settled};
}
