// Brings a window's stored placement onto the screens that exist, so that a hand-edited or
// outdated setting (another monitor layout, an absurd size) never leaves a window unreachable.
#pragma once

#include "common/Geometry.h"

#include <vector>

// A window must show at least this many pixels each way on some screen to stay where it was.
constexpr int kMinVisiblePixels = 32;

// The placement a window restored at `position` with `size` takes, given the available areas of
// the screens (work areas, the primary first):
// - its size is limited to the available area of the screen it ends up on (with `acrossScreens`,
//   to the rectangle all screens span when it lies across several);
// - it stays where it was when it shows at least kMinVisiblePixels each way (or all of itself,
//   when smaller) on some screen; otherwise it moves to `defaultTopLeft`, kept inside the screen
//   holding that point (the primary screen when none does).
// Sizes below 1 become 1. Any int values are safe (no overflow). With no screens the placement
// is returned as it was.
Rect correctedPlacement(Point position, Size size, const std::vector<Rect>& screens, Point defaultTopLeft,
                        bool acrossScreens = false);
