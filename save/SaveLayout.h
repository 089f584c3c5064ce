// Geometry of the Save As window's four preview panes and of their shared scroll position.
#pragma once

#include "common/Geometry.h"
#include "common/ScrollOffset.h"

#include <array>

// The settings column's width at 96 pixels per inch; it grows with the pixels per inch and with
// what it holds.
constexpr int kSaveControlColumnWidth = 200;
constexpr int kSaveBorder = 8;
constexpr int kSavePaneGap = 4;
constexpr int kSavePaneTitleHeight = 20;

// The areas of panes 1 (top left), 2 (top right), 3 (bottom left) and 4 (bottom right),
// each holding its title above its preview, left of the settings column.
std::array<Rect, 4> savePaneAreas(int clientWidth, int clientHeight, int statusBarHeight,
                                  int columnWidth = kSaveControlColumnWidth);

// The window's size at 96 pixels per inch: its first size, and its minimum once scaled.
constexpr Size kSaveWindowDesignedSize{690, 526};

// The minimum and designed sizes of the window scale with the screen's pixels per inch.
Size saveWindowMinimumSize(int pixelsPerInch);
// The default position centres a 526 x 526 window (scaled) on the screen.
Point saveWindowDefaultPosition(Size screen, int pixelsPerInch);
