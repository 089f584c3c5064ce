// The capsule outline of the Remote Control as exact pixel rows, built without any window system.
#pragma once

#include "common/Geometry.h"

#include <vector>

// One row of a region: pixels [left, right) on row y.
struct RowSpan {
    int y = 0;
    int left = 0;
    int right = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

// The pixels whose centres lie inside the ellipse inscribed in `bounds` (right and bottom
// exclusive), one span per non-empty row, top to bottom.
std::vector<RowSpan> ellipseRows(const Rect& bounds);

// The union of two regions given as row spans of single intervals centred alike; rows present in
// either input appear once, each as the hull of its intervals (overlapping intervals only).
std::vector<RowSpan> unionRows(const std::vector<RowSpan>& a, const std::vector<RowSpan>& b);

// The rows of a plain rectangle.
std::vector<RowSpan> rectangleRows(const Rect& rect);

// The Remote Control's outline: ellipses (0, 0)-(100, 62) and (0, 98)-(100, 260) joined by the
// rectangle (0, 31)-(100, 179).
std::vector<RowSpan> remoteControlRows();

constexpr int kRemoteControlWidth = 100;
constexpr int kRemoteControlHeight = 260;
