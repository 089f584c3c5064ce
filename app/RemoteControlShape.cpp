#include "app/RemoteControlShape.h"

#include <algorithm>
#include <cmath>
#include <map>

std::vector<RowSpan> ellipseRows(const Rect& bounds)
{
    std::vector<RowSpan> rows;
    if (bounds.isEmpty()) {
        return rows;
    }
    const double a = bounds.width() / 2.0;
    const double b = bounds.height() / 2.0;
    const double cx = bounds.left + a;
    const double cy = bounds.top + b;
    for (int y = bounds.top; y < bounds.bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        const double rest = 1.0 - dy * dy;
        if (rest < 0) {
            continue;
        }
        // Pixel x is inside when |x + 0.5 - cx| <= halfWidth.
        const double halfWidth = a * std::sqrt(rest);
        const int left = static_cast<int>(std::ceil(cx - halfWidth - 0.5));
        const int right = static_cast<int>(std::floor(cx + halfWidth - 0.5)) + 1;
        const int clippedLeft = std::max(left, bounds.left);
        const int clippedRight = std::min(right, bounds.right);
        if (clippedLeft < clippedRight) {
            rows.push_back({y, clippedLeft, clippedRight});
        }
    }
    return rows;
}

std::vector<RowSpan> rectangleRows(const Rect& rect)
{
    std::vector<RowSpan> rows;
    if (rect.isEmpty()) {
        return rows;
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        rows.push_back({y, rect.left, rect.right});
    }
    return rows;
}

std::vector<RowSpan> unionRows(const std::vector<RowSpan>& a, const std::vector<RowSpan>& b)
{
    std::map<int, RowSpan> byRow;
    for (const auto* rows : {&a, &b}) {
        for (const RowSpan& span : *rows) {
            auto [it, inserted] = byRow.try_emplace(span.y, span);
            if (!inserted) {
                it->second.left = std::min(it->second.left, span.left);
                it->second.right = std::max(it->second.right, span.right);
            }
        }
    }
    std::vector<RowSpan> rows;
    rows.reserve(byRow.size());
    for (const auto& [y, span] : byRow) {
        rows.push_back(span);
    }
    return rows;
}

std::vector<RowSpan> remoteControlRows()
{
    const auto top = ellipseRows({0, 0, 100, 62});
    const auto bottom = ellipseRows({0, 98, 100, 260});
    const auto middle = rectangleRows({0, 31, 100, 179});
    return unionRows(unionRows(middle, top), bottom);
}
