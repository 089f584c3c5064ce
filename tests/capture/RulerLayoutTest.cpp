#include "capture/RulerLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

// A frame whose hole spans the given screen columns and rows.
RulerFrame frameWithHole(int units, int x0, int y0, int holeWidth, int holeHeight, int border = 14, int ppi = 96)
{
    RulerFrame frame;
    frame.borderWidth = border;
    frame.client = {holeWidth + 2 * border, holeHeight + 2 * border};
    frame.clientOrigin = {x0 - border, y0 - border};
    frame.pixelsPerInch = ppi;
    frame.units = units;
    return frame;
}

std::vector<int> screenPositions(const std::vector<RulerTick>& ticks, int origin, bool longOnly = false)
{
    std::vector<int> result;
    for (const auto& tick : ticks) {
        if (!longOnly || tick.isLong) {
            result.push_back(tick.position + origin);
        }
    }
    return result;
}

// Six pixels per character, like a small fixed-width font.
int fixedWidth(std::string_view text)
{
    return static_cast<int>(text.size()) * 6;
}

const RulerLabel* findLabel(const std::vector<RulerLabel>& labels, const std::string& text, bool rotated)
{
    auto it = std::find_if(labels.begin(), labels.end(),
                           [&](const RulerLabel& l) { return l.text == text && l.rotated == rotated; });
    return it == labels.end() ? nullptr : &*it;
}

} // namespace

TEST(RulerTicks, PixelTicksFallOnMultiplesOfTenFromTheHoleStart)
{
    auto ticks = rulerTicks(0, 95, 212, 81, 96);
    EXPECT_EQ(screenPositions(ticks, 81),
              (std::vector<int>{100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210}));
    EXPECT_EQ(screenPositions(ticks, 81, true), (std::vector<int>{100, 150, 200}));
    EXPECT_EQ(ticks.front().position, 19); // client column of screen column 100
}

TEST(RulerTicks, PixelTicksIncludeBothEndsOfTheSpan)
{
    EXPECT_EQ(screenPositions(rulerTicks(0, 100, 300, 0, 96), 0).front(), 100);
    EXPECT_EQ(screenPositions(rulerTicks(0, 100, 300, 0, 96), 0).back(), 300);
    EXPECT_TRUE(rulerTicks(0, 101, 109, 0, 96).empty());
}

TEST(RulerTicks, NegativeCoordinatesStillTickAtMultiplesOfTenAndFifty)
{
    auto ticks = rulerTicks(0, -86, 20, -100, 96);
    EXPECT_EQ(screenPositions(ticks, -100), (std::vector<int>{-80, -70, -60, -50, -40, -30, -20, -10, 0, 10, 20}));
    EXPECT_EQ(screenPositions(ticks, -100, true), (std::vector<int>{-50, 0}));
}

TEST(RulerTicks, InchesAtNinetySixPixelsPerInchTickEverySixAndLongEveryTwentyFour)
{
    auto ticks = rulerTicks(1, 96, 200, 0, 96);
    auto all = screenPositions(ticks, 0);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), 96);
    for (size_t i = 1; i < all.size(); ++i) {
        EXPECT_EQ(all[i] - all[i - 1], 6);
    }
    EXPECT_EQ(screenPositions(ticks, 0, true), (std::vector<int>{96, 120, 144, 168, 192}));
}

TEST(RulerTicks, InchesOnlyWhereSixteenthsFallOnWholePixels)
{
    // At 120 pixels per inch a sixteenth is 7.5 pixels: only every second one lands on a pixel.
    auto ticks = rulerTicks(1, 0, 130, 0, 120);
    EXPECT_EQ(screenPositions(ticks, 0), (std::vector<int>{0, 15, 30, 45, 60, 75, 90, 105, 120}));
    EXPECT_EQ(screenPositions(ticks, 0, true), (std::vector<int>{0, 30, 60, 90, 120}));
    for (const auto& tick : rulerTicks(1, -300, 300, 0, 120)) {
        EXPECT_EQ((16 * tick.position) % 120, 0);
        EXPECT_EQ(tick.isLong, (4 * tick.position) % 120 == 0);
    }
}

TEST(RulerTicks, CentimetreTicksAreRoundedOneByOne)
{
    auto ticks = rulerTicks(2, 0, 1000, 0, 96);
    auto whole = screenPositions(ticks, 0, true);
    ASSERT_GE(whole.size(), 20u);
    EXPECT_EQ(whole[0], 0);
    EXPECT_EQ(whole[1], 38);  // 37.795...
    EXPECT_EQ(whole[2], 76);  // 75.59...
    EXPECT_EQ(whole[3], 113); // 113.385...
    bool saw37 = false, saw38 = false;
    for (size_t i = 1; i < whole.size(); ++i) {
        int gap = whole[i] - whole[i - 1];
        EXPECT_TRUE(gap == 37 || gap == 38) << gap;
        saw37 |= gap == 37;
        saw38 |= gap == 38;
    }
    EXPECT_TRUE(saw37 && saw38);
    // One tick per millimetre: 1000 pixels are 264.58 mm, so millimetres 0..265.
    EXPECT_EQ(ticks.size(), 266u);
}

TEST(RulerTicks, CentimetreTicksMayFallHalfAMillimetreOutsideTheSpan)
{
    // Column 100 is 26.46 mm, rounded to 26 mm at column 98.27 -> 98: before the hole's start.
    auto ticks = rulerTicks(2, 100, 140, 0, 96);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().position, 98);
    EXPECT_EQ(ticks.back().position, 140); // 37 mm = 139.84 -> 140
}

TEST(RulerTicks, UnknownUnitsAndBadResolutionsGiveNoTicks)
{
    EXPECT_TRUE(rulerTicks(3, 0, 500, 0, 96).empty());
    EXPECT_TRUE(rulerTicks(7, 0, 500, 0, 96).empty());
    EXPECT_TRUE(rulerTicks(-1, 0, 500, 0, 96).empty());
    EXPECT_TRUE(rulerTicks(1, 0, 500, 0, 0).empty());
    EXPECT_TRUE(rulerTicks(2, 0, 500, 0, -96).empty());
}

TEST(RulerTicks, ExtremeSpansDoNotOverflow)
{
    auto ticks = rulerTicks(0, INT_MIN + 5, INT_MIN + 100, INT_MIN, 96);
    ASSERT_FALSE(ticks.empty());
    for (const auto& tick : ticks) {
        EXPECT_EQ((static_cast<long long>(INT_MIN) + tick.position) % 10, 0);
    }
    EXPECT_FALSE(rulerTicks(0, INT_MAX - 100, INT_MAX - 1, INT_MAX - 200, 96).empty());
    EXPECT_FALSE(rulerTicks(1, INT_MAX - 100, INT_MAX - 1, INT_MAX - 200, 1).empty());
}

TEST(RulerMarks, LinesExcludeTheirEndPoint)
{
    EXPECT_EQ(axisLineRect({5, 14}, {5, 0}), (Rect{5, 1, 6, 15}));
    EXPECT_EQ(axisLineRect({5, 0}, {5, 14}), (Rect{5, 0, 6, 14}));
    EXPECT_EQ(axisLineRect({14, 3}, {0, 3}), (Rect{1, 3, 15, 4}));
    EXPECT_EQ(axisLineRect({0, 3}, {14, 3}), (Rect{0, 3, 14, 4}));
    EXPECT_TRUE(axisLineRect({4, 4}, {4, 4}).isEmpty());
}

TEST(RulerMarks, CornerMarksThenTicksOnEveryRuler)
{
    RulerFrame frame = frameWithHole(0, 100, 200, 200, 100);
    auto marks = rulerMarks(frame);
    const int W = frame.client.width, H = frame.client.height;
    // Columns 100..290 and rows 200..290 carry ticks.
    ASSERT_EQ(marks.size(), 8u + 2 * 20 + 2 * 10);
    EXPECT_EQ(marks[0], axisLineRect({14, 14}, {0, 14}));
    EXPECT_EQ(marks[7], axisLineRect({W - 15, H - 15}, {W - 15, H - 1}));
    // Screen column 100 is client column 14: a long tick on the top ruler reaching the outer edge.
    EXPECT_EQ(marks[8], (Rect{14, 1, 15, 15}));
    // Column 110 is short: it reaches half the band.
    EXPECT_EQ(marks[9], (Rect{24, 8, 25, 15}));
    // The same column on the bottom ruler.
    EXPECT_EQ(marks[8 + 20], (Rect{14, H - 15, 15, H - 1}));
    // Row 200 on the left ruler (long), row 210 on the right ruler (short).
    EXPECT_EQ(marks[8 + 40], (Rect{1, 14, 15, 15}));
    EXPECT_EQ(marks[8 + 40 + 10 + 1], (Rect{W - 15, 24, W - 8, 25}));
}

TEST(RulerMarks, InchTicksEndAtFixedDepths)
{
    RulerFrame frame = frameWithHole(1, 96, 96, 96, 96);
    auto marks = rulerMarks(frame);
    const int H = frame.client.height;
    EXPECT_EQ(marks[8], (Rect{14, 6, 15, 15}));              // long at x 96
    EXPECT_EQ(marks[9], (Rect{20, 10, 21, 15}));             // short at x 102
    EXPECT_EQ(marks[8 + 16], (Rect{14, H - 15, 15, H - 6})); // bottom ruler, long (16 ticks per ruler)
}

TEST(RulerMarks, UnknownUnitDrawsOnlyTheCornerMarks)
{
    EXPECT_EQ(rulerMarks(frameWithHole(7, 100, 100, 300, 300)).size(), 8u);
    EXPECT_EQ(rulerMarks(frameWithHole(-2, 100, 100, 300, 300)).size(), 8u);
}

TEST(RulerValues, PixelLabelsGiveTheHoleEdgesAndSize)
{
    auto labels = rulerLabels(frameWithHole(0, 100, 50, 200, 150), ".", fixedWidth);
    EXPECT_NE(findLabel(labels, "100", false), nullptr);
    EXPECT_NE(findLabel(labels, "300", false), nullptr);
    EXPECT_NE(findLabel(labels, "200", false), nullptr);
    EXPECT_NE(findLabel(labels, "50", true), nullptr);
    EXPECT_NE(findLabel(labels, "200", true), nullptr);
    EXPECT_NE(findLabel(labels, "150", true), nullptr);
}

TEST(RulerValues, HoleAtNinetyFiveReadsNinetyFive)
{
    auto labels = rulerLabels(frameWithHole(0, 95, 95, 200, 200), ".", fixedWidth);
    const RulerLabel* left = findLabel(labels, "95", false);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->at, (Point{16, 0}));
}

TEST(RulerValues, InchesAndCentimetresUseTwoDecimals)
{
    auto inches = rulerValues(frameWithHole(1, 96, 48, 144, 96));
    EXPECT_DOUBLE_EQ(inches.left, 1.0);
    EXPECT_DOUBLE_EQ(inches.right, 2.5);
    EXPECT_DOUBLE_EQ(inches.width, 1.5);
    EXPECT_DOUBLE_EQ(inches.top, 0.5);
    auto labels = rulerLabels(frameWithHole(1, 96, 48, 144, 96), ".", fixedWidth);
    EXPECT_NE(findLabel(labels, "1.00", false), nullptr);
    EXPECT_NE(findLabel(labels, "2.50", false), nullptr);
    EXPECT_NE(findLabel(labels, "1.50", false), nullptr);

    auto cm = rulerValues(frameWithHole(2, 96, 0, 192, 96));
    EXPECT_NEAR(cm.left, 2.54, 1e-12);
    EXPECT_NEAR(cm.width, 5.08, 1e-12);
    auto cmLabels = rulerLabels(frameWithHole(2, 96, 0, 192, 96), ",", fixedWidth);
    EXPECT_NE(findLabel(cmLabels, "2,54", false), nullptr);
    EXPECT_NE(findLabel(cmLabels, "7,62", false), nullptr);
    EXPECT_NE(findLabel(cmLabels, "5,08", false), nullptr);
}

TEST(RulerValues, FixedPointTextsRoundToFiveDigitsThenTwoDecimals)
{
    EXPECT_EQ(formatRulerValue(1, 1.5, "."), "1.50");
    EXPECT_EQ(formatRulerValue(1, 0.0, "."), "0.00");
    EXPECT_EQ(formatRulerValue(1, -1.0 / 96, "."), "-0.01");
    EXPECT_EQ(formatRulerValue(1, -0.001, "."), "0.00");
    EXPECT_EQ(formatRulerValue(1, 0.125, "."), "0.12"); // halves to the even neighbour
    EXPECT_EQ(formatRulerValue(1, 0.375, "."), "0.38");
    EXPECT_EQ(formatRulerValue(2, 1234.567, "."), "1234.60");
    EXPECT_EQ(formatRulerValue(2, 12345.678, ","), "12346,00");
    EXPECT_EQ(formatRulerValue(1, 2.5, "\u066b"), "2\u066b50"); // separators beyond one byte
    EXPECT_EQ(formatRulerValue(2, 99999.6, "."), "1.0000E+05");
    EXPECT_EQ(formatRulerValue(2, 123456.7, "."), "1.2346E+05");
    EXPECT_EQ(formatRulerValue(0, -86, "."), "-86");
}

TEST(RulerLabels, NegativeCoordinatesGiveNegativeLabels)
{
    auto labels = rulerLabels(frameWithHole(0, -86, -40, 300, 200), ".", fixedWidth);
    EXPECT_NE(findLabel(labels, "-86", false), nullptr);
    EXPECT_NE(findLabel(labels, "214", false), nullptr);
    EXPECT_NE(findLabel(labels, "-40", true), nullptr);
}

TEST(RulerLabels, UprightLabelsSitInTheTopAndBottomBands)
{
    RulerFrame frame = frameWithHole(0, 100, 100, 200, 200);
    const int W = frame.client.width, H = frame.client.height; // 228
    auto labels = rulerLabels(frame, ".", fixedWidth);
    ASSERT_EQ(labels.size(), 12u);
    // Width "200" (18 pixels) centred on both rulers, in red, first.
    EXPECT_EQ(labels[0], (RulerLabel{"200", LabelColour::Red, {105, 0}, {105, 0, 123, 14}, false}));
    EXPECT_EQ(labels[1], (RulerLabel{"200", LabelColour::Red, {105, H - 15}, {105, H - 15, 123, H - 1}, false}));
    EXPECT_EQ(labels[2], (RulerLabel{"100", LabelColour::Black, {16, 0}, {16, 0, 34, 14}, false}));
    EXPECT_EQ(labels[4], (RulerLabel{"300", LabelColour::Black, {W - 33, 0}, {W - 33, 0, W - 15, 14}, false}));
    // Height "200", rotated, centred on the left and right rulers.
    EXPECT_EQ(labels[6], (RulerLabel{"200", LabelColour::Red, {0, 123}, {0, 105, 14, 123}, true}));
    EXPECT_EQ(labels[7], (RulerLabel{"200", LabelColour::Red, {W - 14, 123}, {W - 14, 105, W, 123}, true}));
    // Top text reads upwards from below its clip's bottom edge.
    EXPECT_EQ(labels[8], (RulerLabel{"100", LabelColour::Black, {0, 33}, {0, 15, 13, 33}, true}));
    EXPECT_EQ(labels[10], (RulerLabel{"300", LabelColour::Black, {0, H - 16}, {0, H - 33, 14, H - 16}, true}));
}

TEST(RulerLabels, NarrowHolesDropTheEdgeLabelsFirstThenTheSize)
{
    auto count = [](int holeWidth, const std::string& text) {
        auto labels = rulerLabels(frameWithHole(0, 100, 100, holeWidth, 400), ".", fixedWidth);
        return std::count_if(labels.begin(), labels.end(),
                             [&](const RulerLabel& l) { return !l.rotated && l.text == text; });
    };
    // Width text "NN" is 12 pixels, the edge texts "100" are 18: they need 18 + 6 + 2 < A / 2.
    EXPECT_EQ(count(53, "100"), 0);
    EXPECT_EQ(count(54, "100"), 2);
    EXPECT_EQ(count(53, "53"), 2);
    // The size label needs 12 + 2 < A.
    EXPECT_EQ(count(15, "15"), 2);
    EXPECT_EQ(count(14, "14"), 0);
    EXPECT_EQ(count(1, "1"), 2 * (6 + 2 < 1));
}

TEST(RulerLabels, UnknownUnitHasNoLabels)
{
    EXPECT_TRUE(rulerLabels(frameWithHole(7, 100, 100, 300, 300), ".", fixedWidth).empty());
}
