#include "common/MonitorLayout.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>

namespace {

int64_t overlapArea(const Rect& a, const Rect& b)
{
    const Rect common = a.intersected(b);
    return common.isEmpty() ? 0 : int64_t(common.width()) * common.height();
}

// Squared distance from `point` to the nearest pixel of `area`.
int64_t distanceSquared(const Rect& area, Point point)
{
    const int64_t dx = std::max<int64_t>({int64_t(area.left) - point.x, 0, int64_t(point.x) - (area.right - 1)});
    const int64_t dy = std::max<int64_t>({int64_t(area.top) - point.y, 0, int64_t(point.y) - (area.bottom - 1)});
    return dx * dx + dy * dy;
}

} // namespace

MonitorLayout::MonitorLayout(std::vector<Monitor> monitors, Size fallback) : monitors_(std::move(monitors))
{
    if (monitors_.empty()) {
        const Rect whole = Rect::fromSize(0, 0, fallback.width, fallback.height);
        monitors_.push_back({whole, whole, 0});
    }
}

Rect MonitorLayout::desktop() const
{
    Rect all = primary().bounds;
    for (const Monitor& m : monitors_) {
        all = {std::min(all.left, m.bounds.left), std::min(all.top, m.bounds.top), std::max(all.right, m.bounds.right),
               std::max(all.bottom, m.bounds.bottom)};
    }
    return all;
}

const Monitor& MonitorLayout::monitorAt(Point point) const
{
    const Monitor* nearest = &primary();
    int64_t best = std::numeric_limits<int64_t>::max();
    for (const Monitor& m : monitors_) {
        const int64_t distance = distanceSquared(m.bounds, point);
        if (distance < best) {
            nearest = &m;
            best = distance;
        }
    }
    return *nearest;
}

const Monitor& MonitorLayout::monitorOf(const Rect& window) const
{
    const Monitor* largest = nullptr;
    int64_t best = 0;
    for (const Monitor& m : monitors_) {
        const int64_t area = overlapArea(m.bounds, window);
        if (area > best) {
            largest = &m;
            best = area;
        }
    }
    if (largest != nullptr) {
        return *largest;
    }
    return monitorAt({static_cast<int>((int64_t(window.left) + window.right) / 2),
                      static_cast<int>((int64_t(window.top) + window.bottom) / 2)});
}

std::vector<Rect> MonitorLayout::availableAreas() const
{
    std::vector<Rect> areas;
    areas.reserve(monitors_.size());
    for (const Monitor& m : monitors_) {
        areas.push_back(m.available);
    }
    return areas;
}

Rect MonitorLayout::fullScreenArea(Point anchor, bool allMonitors) const
{
    return allMonitors ? desktop() : monitorAt(anchor).bounds;
}

std::vector<Rect> MonitorLayout::uncoveredParts(const Rect& area) const
{
    // The monitors' edges cut the area into cells; a cell is wholly inside a monitor or wholly out.
    std::set<int> xs{area.left, area.right};
    std::set<int> ys{area.top, area.bottom};
    for (const Monitor& m : monitors_) {
        for (int x : {m.bounds.left, m.bounds.right}) {
            if (x > area.left && x < area.right) {
                xs.insert(x);
            }
        }
        for (int y : {m.bounds.top, m.bounds.bottom}) {
            if (y > area.top && y < area.bottom) {
                ys.insert(y);
            }
        }
    }
    std::vector<Rect> parts;
    for (auto y = ys.begin(); std::next(y) != ys.end(); ++y) {
        for (auto x = xs.begin(); std::next(x) != xs.end(); ++x) {
            const Rect cell{*x, *y, *std::next(x), *std::next(y)};
            const bool shown = std::any_of(monitors_.begin(), monitors_.end(), [&](const Monitor& m) {
                return m.bounds.contains({cell.left, cell.top});
            });
            if (!shown) {
                parts.push_back(cell);
            }
        }
    }
    return parts;
}

int MonitorLayout::rulerPixelsPerInch(const Monitor& monitor, int desktopPixelsPerInch) const
{
    const double reference = primary().physicalPixelsPerInch;
    if (reference <= 0 || monitor.physicalPixelsPerInch <= 0) {
        return desktopPixelsPerInch;
    }
    const long double scaled = desktopPixelsPerInch * (monitor.physicalPixelsPerInch / reference);
    return std::max(1, static_cast<int>(roundHalfEven(scaled)));
}
