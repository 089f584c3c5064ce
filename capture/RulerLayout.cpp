#include "capture/RulerLayout.h"

#include "common/Rounding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>

namespace {

constexpr long double kMillimetresPerInch = 25.4L;
constexpr long double kCentimetresPerInch = 2.54L;

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool isKnownUnit(int32_t units)
{
    return units >= 0 && units <= 2;
}

// Every multiple of `step` in first..last; long ticks fall on multiples of `longStep`.
void appendMultiples(std::vector<RulerTick>& ticks, int first, int last, int origin, int64_t step, int64_t longStep)
{
    for (int64_t position = floorDiv(first + step - 1, step) * step; position <= last; position += step) {
        ticks.push_back({static_cast<int>(position - origin), position % longStep == 0});
    }
}

void appendMillimetres(std::vector<RulerTick>& ticks, int first, int last, int origin, int pixelsPerInch)
{
    int64_t firstMillimetre = roundHalfEven(first * kMillimetresPerInch / pixelsPerInch);
    int64_t lastMillimetre = roundHalfEven(last * kMillimetresPerInch / pixelsPerInch);
    for (int64_t m = firstMillimetre; m <= lastMillimetre; ++m) {
        int64_t position = roundHalfEven(static_cast<long double>(m * pixelsPerInch) / kMillimetresPerInch);
        ticks.push_back({static_cast<int>(position - origin), m % 10 == 0});
    }
}

// Where a tick of each ruler ends: pixels reach the outer edge (long) or half the band (short);
// inches and centimetres end at fixed depths.
struct TickDepth {
    int longDepth;  // distance from the outer edge where a long tick ends
    int shortDepth; // same for a short tick
};

TickDepth tickDepth(int32_t units, int borderWidth)
{
    if (units == 0) {
        return {0, borderWidth / 2};
    }
    return {5, 9};
}

void appendCornerMarks(std::vector<Rect>& marks, int B, int W, int H)
{
    marks.push_back(axisLineRect({B, B}, {0, B}));
    marks.push_back(axisLineRect({B, B}, {B, 0}));
    marks.push_back(axisLineRect({B, H - B - 1}, {0, H - B - 1}));
    marks.push_back(axisLineRect({B, H - B - 1}, {B, H - 1}));
    marks.push_back(axisLineRect({W - B, B}, {W - 1, B}));
    marks.push_back(axisLineRect({W - B - 1, B}, {W - B - 1, 0}));
    marks.push_back(axisLineRect({W - B, H - B - 1}, {W - 1, H - B - 1}));
    marks.push_back(axisLineRect({W - B - 1, H - B - 1}, {W - B - 1, H - 1}));
}

std::string formatFixedFromDigits(bool negative, int64_t digits, int pointPosition, std::string_view decimalSeparator)
{
    // digits holds five significant digits d1..d5 meaning 0.d1d2d3d4d5 x 10^pointPosition.
    // Keep pointPosition + 2 of them (two decimals), rounding the rest half to even.
    int dropped = 5 - (pointPosition + 2);
    int64_t hundredths = digits;
    if (dropped > 5) {
        hundredths = 0;
    } else if (dropped > 0) {
        int64_t scale = 1;
        for (int i = 0; i < dropped; ++i) {
            scale *= 10;
        }
        int64_t quotient = digits / scale;
        int64_t remainder = digits % scale;
        if (remainder * 2 > scale || (remainder * 2 == scale && (quotient & 1) != 0)) {
            ++quotient;
        }
        hundredths = quotient;
    } else {
        for (int i = 0; i < -dropped; ++i) {
            hundredths *= 10;
        }
    }
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%02lld", static_cast<long long>(hundredths % 100));
    std::string text = negative && hundredths != 0 ? "-" : "";
    text += std::to_string(hundredths / 100);
    text += decimalSeparator;
    text += fraction;
    return text;
}

void appendLabel(std::vector<RulerLabel>& labels, const std::string& text, LabelColour colour, Point at, Rect clip,
                 bool rotated)
{
    labels.push_back({text, colour, at, clip, rotated});
}

} // namespace

std::vector<RulerTick> rulerTicks(int32_t units, int first, int last, int origin, int pixelsPerInch)
{
    std::vector<RulerTick> ticks;
    if (!isKnownUnit(units) || pixelsPerInch <= 0 || last < first) {
        return ticks;
    }
    switch (units) {
    case 0:
        appendMultiples(ticks, first, last, origin, 10, 50);
        break;
    case 1:
        // Sixteenths of an inch that fall on whole pixels; quarters are long.
        appendMultiples(ticks, first, last, origin, pixelsPerInch / std::gcd(16, pixelsPerInch),
                        pixelsPerInch / std::gcd(4, pixelsPerInch));
        break;
    default:
        appendMillimetres(ticks, first, last, origin, pixelsPerInch);
        break;
    }
    return ticks;
}

Rect axisLineRect(Point from, Point to)
{
    if (from.x == to.x && from.y != to.y) {
        return to.y < from.y ? Rect{from.x, to.y + 1, from.x + 1, from.y + 1} : Rect{from.x, from.y, from.x + 1, to.y};
    }
    if (from.y == to.y && from.x != to.x) {
        return to.x < from.x ? Rect{to.x + 1, from.y, from.x + 1, from.y + 1} : Rect{from.x, from.y, to.x, from.y + 1};
    }
    return {};
}

std::vector<Rect> rulerMarks(const RulerFrame& frame)
{
    const int B = frame.borderWidth;
    const int W = frame.client.width;
    const int H = frame.client.height;
    std::vector<Rect> marks;
    appendCornerMarks(marks, B, W, H);

    TickDepth depth = tickDepth(frame.units, B);
    auto columns =
        rulerTicks(frame.units, frame.firstColumn(), frame.lastColumn(), frame.clientOrigin.x, frame.pixelsPerInch);
    auto rows = rulerTicks(frame.units, frame.firstRow(), frame.lastRow(), frame.clientOrigin.y, frame.pixelsPerInch);
    marks.reserve(marks.size() + 2 * (columns.size() + rows.size()));
    for (const auto& tick : columns) {
        int end = tick.isLong ? depth.longDepth : depth.shortDepth;
        marks.push_back(axisLineRect({tick.position, B}, {tick.position, end}));
    }
    for (const auto& tick : columns) {
        int end = tick.isLong ? depth.longDepth : depth.shortDepth;
        marks.push_back(axisLineRect({tick.position, H - B - 1}, {tick.position, H - end - 1}));
    }
    for (const auto& tick : rows) {
        int end = tick.isLong ? depth.longDepth : depth.shortDepth;
        marks.push_back(axisLineRect({B, tick.position}, {end, tick.position}));
    }
    for (const auto& tick : rows) {
        int end = tick.isLong ? depth.longDepth : depth.shortDepth;
        marks.push_back(axisLineRect({W - B - 1, tick.position}, {W - end - 1, tick.position}));
    }
    return marks;
}

RulerValues rulerValues(const RulerFrame& frame)
{
    const double x0 = frame.firstColumn();
    const double x1 = frame.lastColumn() + 1.0;
    const double y0 = frame.firstRow();
    const double y1 = frame.lastRow() + 1.0;
    RulerValues values;
    if (frame.units == 0 || frame.pixelsPerInch <= 0) {
        values = {x0, x1, x1 - x0, y0, y1, y1 - y0};
        return values;
    }
    const double perPixel =
        frame.units == 1 ? 1.0 / frame.pixelsPerInch : static_cast<double>(kCentimetresPerInch / frame.pixelsPerInch);
    values.left = x0 * perPixel;
    values.right = x1 * perPixel;
    values.width = values.right - values.left;
    values.top = y0 * perPixel;
    values.bottom = y1 * perPixel;
    values.height = values.bottom - values.top;
    return values;
}

std::string formatRulerValue(int32_t units, double value, std::string_view decimalSeparator)
{
    if (units == 0) {
        return std::to_string(static_cast<long long>(roundHalfEven(value)));
    }
    if (value == 0.0) {
        return "0" + std::string(decimalSeparator) + "00";
    }
    char scientific[48];
    std::snprintf(scientific, sizeof scientific, "%.4e", std::abs(value));
    // "d.dddde+XX": five significant digits and a decimal exponent.
    int64_t digits = 0;
    for (const char* p = scientific; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits = digits * 10 + (*p - '0');
        }
    }
    int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    bool negative = value < 0;
    if (exponent + 1 > 5) {
        // More than five digits before the point: scientific notation, exponent of at least two digits.
        char mantissa[16];
        char exponentText[16];
        std::snprintf(mantissa, sizeof mantissa, "%04lld", static_cast<long long>(digits % 10000));
        std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return (negative ? "-" : "") + std::to_string(digits / 10000) + std::string(decimalSeparator) + mantissa +
               exponentText;
    }
    return formatFixedFromDigits(negative, digits, exponent + 1, decimalSeparator);
}

std::vector<RulerLabel> rulerLabels(const RulerFrame& frame, std::string_view decimalSeparator,
                                    const TextWidth& textWidth)
{
    std::vector<RulerLabel> labels;
    if (!isKnownUnit(frame.units)) {
        return labels;
    }
    const int B = frame.borderWidth;
    const int W = frame.client.width;
    const int H = frame.client.height;
    const int A = W - 2 * B;
    const int V = H - 2 * B;
    const RulerValues values = rulerValues(frame);
    auto text = [&](double value) { return formatRulerValue(frame.units, value, decimalSeparator); };

    const std::string width = text(values.width);
    const std::string left = text(values.left);
    const std::string right = text(values.right);
    const int twWidth = textWidth(width);
    const int twLeft = textWidth(left);
    const int twRight = textWidth(right);
    if (twWidth + 2 < A) {
        int x = (W - twWidth) / 2;
        int xEnd = (W + twWidth) / 2;
        appendLabel(labels, width, LabelColour::Red, {x, 0}, {x, 0, xEnd, B}, false);
        appendLabel(labels, width, LabelColour::Red, {x, H - B - 1}, {x, H - B - 1, xEnd, H - 1}, false);
    }
    if (twLeft + twWidth / 2 + 2 < A / 2) {
        appendLabel(labels, left, LabelColour::Black, {B + 2, 0}, {B + 2, 0, B + 2 + twLeft, B}, false);
        appendLabel(labels, left, LabelColour::Black, {B + 2, H - B - 1}, {B + 2, H - B - 1, B + 2 + twLeft, H - 1},
                    false);
    }
    if (twRight + twWidth / 2 + 2 < A / 2) {
        int x = W - B - twRight - 1;
        appendLabel(labels, right, LabelColour::Black, {x, 0}, {x, 0, W - B - 1, B}, false);
        appendLabel(labels, right, LabelColour::Black, {x, H - B - 1}, {x, H - B - 1, W - B - 1, H - 1}, false);
    }

    const std::string height = text(values.height);
    const std::string top = text(values.top);
    const std::string bottom = text(values.bottom);
    const int twHeight = textWidth(height);
    const int twTop = textWidth(top);
    const int twBottom = textWidth(bottom);
    if (twHeight + 2 < V) {
        int y = (H + twHeight) / 2;
        int yStart = (H - twHeight) / 2;
        appendLabel(labels, height, LabelColour::Red, {0, y}, {0, yStart, B, y}, true);
        appendLabel(labels, height, LabelColour::Red, {W - B, y}, {W - B, yStart, W, y}, true);
    }
    if (twTop + twHeight / 2 + 2 < V / 2) {
        int y = B + 1 + twTop;
        appendLabel(labels, top, LabelColour::Black, {0, y}, {0, B + 1, B - 1, y}, true);
        appendLabel(labels, top, LabelColour::Black, {W - B, y}, {W - B, B + 1, W, y}, true);
    }
    if (twBottom + twHeight / 2 + 2 < V / 2) {
        int y = H - B - 2;
        appendLabel(labels, bottom, LabelColour::Black, {0, y}, {0, H - B - twBottom - 1, B, y}, true);
        appendLabel(labels, bottom, LabelColour::Black, {W - B, y}, {W - B, H - B - twBottom - 1, W, y}, true);
    }
    return labels;
}
