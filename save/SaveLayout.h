// Geometry of the Save As window's four preview panes and of their shared scroll position.
#pragma once

#include "common/Geometry.h"

#include <array>

constexpr int kSaveControlColumnWidth = 200;
constexpr int kSaveBorder = 8;
constexpr int kSavePaneGap = 4;
constexpr int kSavePaneTitleHeight = 20;

// The areas of panes 1 (top left), 2 (top right), 3 (bottom left) and 4 (bottom right),
// each holding its 20-pixel title above its preview.
std::array<Rect, 4> savePaneAreas(int clientWidth, int clientHeight, int statusBarHeight);

// A scroll offset after the preview has changed size: an offset that would leave empty space
// right of (or below) the image moves back, and never below 0.
int clampScrollOffset(int offset, int imageSize, int previewSize);

// The offset while dragging in one direction: anchor - pointer, kept within 0 .. image - preview.
// Unchanged when the image fits the preview in that direction.
int dragScrollOffset(int offset, int anchor, int pointer, int imageSize, int previewSize);

// The minimum and designed sizes of the window scale with the screen's pixels per inch.
Size saveWindowMinimumSize(int pixelsPerInch);
// The default position centres a 526 x 526 window (scaled) on the screen.
Point saveWindowDefaultPosition(Size screen, int pixelsPerInch);
