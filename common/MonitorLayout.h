// The monitors that make up the desktop, and the rules that follow from them: which monitor is
// primary, which one a point or a window is on, the desktop they span, the area a full-screen
// capture takes and the ruler density on each. A desktop of one monitor is the screen itself.
#pragma once

#include "common/Geometry.h"

#include <vector>

// One monitor: where it is and the part of it that windows may use (panels left out), in screen
// pixels, and its density by its physical size (0 when the monitor does not tell).
struct Monitor {
    Rect bounds;
    Rect available;
    double physicalPixelsPerInch = 0;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

class MonitorLayout {
public:
    // `monitors` with the primary one first. An empty list stands for one monitor of `fallback`.
    MonitorLayout(std::vector<Monitor> monitors, Size fallback);

    const std::vector<Monitor>& monitors() const { return monitors_; }
    const Monitor& primary() const { return monitors_.front(); }
    // The smallest rectangle holding every monitor.
    Rect desktop() const;
    // The monitor holding `point`, else the one nearest to it.
    const Monitor& monitorAt(Point point) const;
    // The monitor showing the largest part of `window`; the one nearest to its centre when none does.
    const Monitor& monitorOf(const Rect& window) const;
    // The available areas of the monitors, the primary first.
    std::vector<Rect> availableAreas() const;

    // What a full-screen capture takes: the monitor at `anchor`, or the whole desktop.
    Rect fullScreenArea(Point anchor, bool allMonitors) const;
    // The parts of `area` that no monitor shows (the dead corners of monitors of unequal sizes).
    std::vector<Rect> uncoveredParts(const Rect& area) const;

    // The pixels per inch that rulers use on `monitor`: the desktop's own density, scaled by how much
    // denser the monitor is than the primary one when both tell their physical size.
    int rulerPixelsPerInch(const Monitor& monitor, int desktopPixelsPerInch) const;

private:
    std::vector<Monitor> monitors_;
};
