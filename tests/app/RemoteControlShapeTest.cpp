#include "app/RemoteControlShape.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

namespace {

// The pixel-centre rule in integers: (2x + 1 - (l + r)) / w and (2y + 1 - (t + b)) / h inside the
// unit circle, with no floating point at all.
bool insideEllipse(const Rect& b, int x, int y)
{
    const int64_t w = b.width();
    const int64_t h = b.height();
    const int64_t dx = 2 * x + 1 - (b.left + b.right);
    const int64_t dy = 2 * y + 1 - (b.top + b.bottom);
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

std::set<std::pair<int, int>> pixelsOf(const std::vector<RowSpan>& rows)
{
    std::set<std::pair<int, int>> pixels;
    for (const RowSpan& row : rows) {
        for (int x = row.left; x < row.right; ++x) {
            pixels.insert({x, row.y});
        }
    }
    return pixels;
}

} // namespace

TEST(RemoteControlShape, EllipseRowsHoldExactlyThePixelsWhoseCentresAreInside)
{
    for (const Rect& bounds : {Rect{0, 0, 100, 62}, Rect{0, 98, 100, 260}, Rect{-3, 5, 8, 12}, Rect{10, 10, 11, 11}}) {
        const auto pixels = pixelsOf(ellipseRows(bounds));
        for (int y = bounds.top - 1; y <= bounds.bottom; ++y) {
            for (int x = bounds.left - 1; x <= bounds.right; ++x) {
                const bool expected = bounds.contains({x, y}) && insideEllipse(bounds, x, y);
                EXPECT_EQ(pixels.count({x, y}) == 1, expected) << "pixel " << x << "," << y;
            }
        }
    }
}

TEST(RemoteControlShape, EmptyBoundsGiveNoRows)
{
    EXPECT_TRUE(ellipseRows({5, 5, 5, 20}).empty());
    EXPECT_TRUE(ellipseRows({5, 5, 2, 2}).empty());
    EXPECT_TRUE(rectangleRows({0, 0, 0, 3}).empty());
}

TEST(RemoteControlShape, CapsuleIsTheUnionOfTwoEllipsesAndTheRectangle)
{
    const auto rows = remoteControlRows();
    ASSERT_EQ(rows.size(), 260u);
    const auto pixels = pixelsOf(rows);
    const Rect top{0, 0, 100, 62};
    const Rect bottom{0, 98, 100, 260};
    const Rect middle{0, 31, 100, 179};
    for (int y = 0; y < 260; ++y) {
        EXPECT_EQ(rows[y].y, y);
        for (int x = 0; x < 100; ++x) {
            const bool expected = middle.contains({x, y}) || (top.contains({x, y}) && insideEllipse(top, x, y)) ||
                                  (bottom.contains({x, y}) && insideEllipse(bottom, x, y));
            ASSERT_EQ(pixels.count({x, y}) == 1, expected) << "pixel " << x << "," << y;
        }
    }
}

TEST(RemoteControlShape, CapsuleCornersAreOutsideAndItsSidesInside)
{
    const auto rows = remoteControlRows();
    EXPECT_EQ(rows.front(), (RowSpan{0, 41, 59}));
    EXPECT_EQ(rows.back(), (RowSpan{259, 44, 56})) << "the lower ellipse is taller, so its end is narrower";
    EXPECT_EQ(rows[31], (RowSpan{31, 0, 100}));
    EXPECT_EQ(rows[178], (RowSpan{178, 0, 100}));
    EXPECT_EQ(rows[179], (RowSpan{179, 0, 100})) << "the lower ellipse is widest at its centre row";
    EXPECT_GT(rows[230].left, 0);
    for (const RowSpan& row : rows) {
        EXPECT_EQ(row.left, 100 - row.right) << "row " << row.y << " is symmetric";
    }
}
