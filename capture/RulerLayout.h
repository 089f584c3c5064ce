// Where the Capture Frame's rulers put their marks, ticks and labels: plain geometry, no painting.
#pragma once

#include "common/Geometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What one paint of the rulers depends on.
struct RulerFrame {
    int borderWidth = 14;   // B
    Size client;            // W x H
    Point clientOrigin;     // (ox, oy): the client area's top-left corner on the screen
    int pixelsPerInch = 96; // the screen's logical pixels per inch
    int32_t units = 0;      // a MeasureUnit; other values draw no ticks and no labels

    // The hole's first and last screen column and row (X0, X1, Y0, Y1).
    int firstColumn() const { return clientOrigin.x + borderWidth; }
    int lastColumn() const { return clientOrigin.x + client.width - borderWidth - 1; }
    int firstRow() const { return clientOrigin.y + borderWidth; }
    int lastRow() const { return clientOrigin.y + client.height - borderWidth - 1; }
};

// One tick along a ruler: its client column (top and bottom rulers) or row (left and right rulers).
struct RulerTick {
    int position = 0;
    bool isLong = false;
    friend bool operator==(const RulerTick&, const RulerTick&) = default;
};

// Ticks for the screen span first..last (inclusive) in the given unit, as client positions
// (screen position minus `origin`). Empty for a unit outside 0..2 or a non-positive resolution.
std::vector<RulerTick> rulerTicks(int32_t units, int first, int last, int origin, int pixelsPerInch);

// The pixels of a line from `from` to `to`, end point excluded, for horizontal and vertical lines.
Rect axisLineRect(Point from, Point to);

// Every black mark of the ruler look: the eight corner marks, then the ticks of the top, bottom,
// left and right rulers, each as the pixels it covers.
std::vector<Rect> rulerMarks(const RulerFrame& frame);

// The six values the labels show, in the frame's unit.
struct RulerValues {
    double left = 0, right = 0, width = 0;
    double top = 0, bottom = 0, height = 0;
};
RulerValues rulerValues(const RulerFrame& frame);

// A label value as text: a whole number for pixels; otherwise rounded to five significant digits
// and shown with two decimals and the given decimal separator (scientific beyond five digits).
std::string formatRulerValue(int32_t units, double value, std::string_view decimalSeparator);

enum class LabelColour { Black, Red };

// One opaque label: `clip` is filled with the face colour, then the text is drawn clipped to it.
// Upright text has its top-left corner at `at`; rotated text starts at `at` and runs upwards.
struct RulerLabel {
    std::string text;
    LabelColour colour = LabelColour::Black;
    Point at;
    Rect clip;
    bool rotated = false;
    friend bool operator==(const RulerLabel&, const RulerLabel&) = default;
};

using TextWidth = std::function<int(std::string_view)>;

// The labels that fit, in drawing order: all upright ones (size, left, right) before the rotated
// ones (size, top, bottom), each on both of its rulers. Empty for a unit outside 0..2.
std::vector<RulerLabel> rulerLabels(const RulerFrame& frame, std::string_view decimalSeparator,
                                    const TextWidth& textWidth);
