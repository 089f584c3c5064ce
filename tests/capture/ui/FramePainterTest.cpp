#include "capture/ui/FramePainter.h"

#include "capture/FrameTestSupport.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

const FrameColours kColours{QColor(0xF0, 0xF0, 0xF0), QColor(0xFF, 0xFF, 0xFF), QColor(0xA0, 0xA0, 0xA0)};

FramePaintInput inputFor(int units, QPoint holeOrigin, QSize hole, bool rulers = true)
{
    FramePaintInput input;
    input.frame.borderWidth = 14;
    input.frame.client = {hole.width() + 28, hole.height() + 28};
    input.frame.clientOrigin = {holeOrigin.x() - 14, holeOrigin.y() - 14};
    input.frame.pixelsPerInch = 96;
    input.frame.units = units;
    input.showRulers = rulers;
    return input;
}

bool overlapsAnyLabel(const Rect& rect, const std::vector<RulerLabel>& labels)
{
    for (const auto& label : labels) {
        if (!rect.intersected(label.clip).isEmpty()) {
            return true;
        }
    }
    return false;
}

// Text is antialiased: its strokes are dark rather than exactly black.
int countDarkPixels(const QImage& image, const Rect& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    return count;
}

int countPixels(const QImage& image, const Rect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class FramePainting : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
};

} // namespace

TEST_F(FramePainting, GripPatternHoldsFourRaisedSquares)
{
    const QImage pattern = makeGripPattern(kColours);
    ASSERT_EQ(pattern.size(), QSize(8, 8));
    const QRgb face = kColours.face.rgb(), light = kColours.highlight.rgb(), dark = kColours.shadow.rgb();
    int faces = 0, lights = 0, darks = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            QRgb p = pattern.pixel(x, y);
            faces += p == face;
            lights += p == light;
            darks += p == dark;
        }
    }
    EXPECT_EQ(lights, 16);
    EXPECT_EQ(darks, 16);
    EXPECT_EQ(faces, 32);
    EXPECT_EQ(pattern.pixel(0, 1), light);
    EXPECT_EQ(pattern.pixel(1, 0), light);
    EXPECT_EQ(pattern.pixel(3, 1), dark);
    EXPECT_EQ(pattern.pixel(1, 3), dark);
    EXPECT_EQ(pattern.pixel(0, 0), face);
    EXPECT_EQ(pattern.pixel(3, 3), face);
    EXPECT_EQ(pattern.pixel(7, 6), dark);
}

TEST_F(FramePainting, TicksAreBlackWhereTheLayoutPutsThemUnlessALabelCoversThem)
{
    for (int units = 0; units <= 2; ++units) {
        FramePainter painter(96, kColours);
        FramePaintInput input = inputFor(units, {95, 37}, {400, 300});
        QImage buffer;
        painter.paint(buffer, input);
        ASSERT_EQ(buffer.size(), QSize(428, 328));
        auto labels = rulerLabels(input.frame, ".", [&](std::string_view t) { return painter.labelWidth(t); });
        int checked = 0;
        for (const Rect& mark : rulerMarks(input.frame)) {
            if (overlapsAnyLabel(mark, labels)) {
                continue;
            }
            // Inside the band the whole mark is black (its first pixel may lie in the hole; the outer
            // edge is drawn over the last one).
            Rect band = mark.intersected({1, 1, buffer.width() - 1, buffer.height() - 1});
            EXPECT_EQ(countPixels(buffer, band, 0xFF000000), band.width() * band.height()) << units;
            ++checked;
        }
        EXPECT_GT(checked, 40) << units;
        // Beside a pixel tick on the top ruler lies the face colour.
        if (units == 0) {
            EXPECT_EQ(buffer.pixel(69, 12), 0xFF000000u); // x 150 is client column 69
            EXPECT_EQ(buffer.pixel(70, 12), kColours.face.rgb());
        }
    }
}

TEST_F(FramePainting, LabelsAreOpaqueAndTheSizeIsRed)
{
    FramePainter painter(96, kColours);
    FramePaintInput input = inputFor(0, {100, 100}, {300, 200});
    QImage buffer;
    painter.paint(buffer, input);
    auto labels = rulerLabels(input.frame, ".", [&](std::string_view t) { return painter.labelWidth(t); });
    ASSERT_EQ(labels.size(), 12u);
    for (const auto& label : labels) {
        const int area = label.clip.width() * label.clip.height();
        int face = countPixels(buffer, label.clip, kColours.face.rgb());
        int black = countPixels(buffer, label.clip, 0xFF000000);
        EXPECT_LT(face, area) << label.text; // some text was drawn
        if (label.colour == LabelColour::Red) {
            int reddish = 0;
            for (int y = label.clip.top; y < label.clip.bottom; ++y) {
                for (int x = label.clip.left; x < label.clip.right; ++x) {
                    QColor c = buffer.pixelColor(x, y);
                    reddish += c.red() > 200 && c.green() < 120 && c.blue() < 120;
                }
            }
            EXPECT_GT(reddish, 3) << label.text;
            EXPECT_EQ(black, 0) << label.text; // ticks under the label are gone
        }
    }
}

TEST_F(FramePainting, OuterEdgeIsShadowTopLeftAndHighlightBottomRight)
{
    FramePainter painter(96, kColours);
    for (bool rulers : {true, false}) {
        QImage buffer;
        painter.paint(buffer, inputFor(0, {100, 100}, {200, 100}, rulers));
        const int W = buffer.width(), H = buffer.height();
        EXPECT_EQ(buffer.pixel(0, 0), kColours.shadow.rgb());
        EXPECT_EQ(buffer.pixel(0, H / 2), kColours.shadow.rgb());
        EXPECT_EQ(buffer.pixel(0, H - 1), kColours.shadow.rgb());
        EXPECT_EQ(buffer.pixel(W / 3, 0), kColours.shadow.rgb());
        EXPECT_EQ(buffer.pixel(W - 1, 0), kColours.highlight.rgb());
        EXPECT_EQ(buffer.pixel(W - 1, H / 2), kColours.highlight.rgb());
        EXPECT_EQ(buffer.pixel(W / 3, H - 1), kColours.highlight.rgb());
    }
}

TEST_F(FramePainting, UnknownUnitShowsOnlyFaceCornerMarksAndEdge)
{
    FramePainter painter(96, kColours);
    FramePaintInput input = inputFor(7, {100, 100}, {300, 200});
    QImage buffer;
    painter.paint(buffer, input);
    const int W = buffer.width();
    // The top band between the corner squares is plain face colour.
    EXPECT_EQ(countPixels(buffer, {15, 1, W - 15, 14}, kColours.face.rgb()), (W - 30) * 13);
    EXPECT_EQ(buffer.pixel(14, 5), 0xFF000000u); // a corner mark
}

TEST_F(FramePainting, GripLookShowsThePatternTheCaptionAndASunkenEdge)
{
    FramePainter painter(96, kColours);
    FramePaintInput input = inputFor(0, {100, 100}, {300, 200}, false);
    QImage buffer;
    painter.paint(buffer, input);
    const QImage& pattern = painter.gripPattern();
    const int W = buffer.width(), H = buffer.height();
    // Far from the caption the band repeats the pattern from the client origin.
    for (QPoint p : {QPoint(W - 20, 5), QPoint(5, H / 2), QPoint(W / 2, H - 5)}) {
        EXPECT_EQ(buffer.pixel(p), pattern.pixel(p.x() % 8, p.y() % 8)) << p.x() << "," << p.y();
    }
    // The caption begins above the hole's left edge on face colour, with black text.
    const int captionWidth = QFontMetrics(painter.captionFont()).horizontalAdvance(FramePainter::kCaption);
    const Rect caption{14, 0, 14 + captionWidth, 14};
    EXPECT_GT(countDarkPixels(buffer, caption), 5);
    EXPECT_EQ(countPixels(buffer, {14, 0, 14 + captionWidth, 12}, kColours.highlight.rgb()), 0);
    EXPECT_EQ(buffer.pixel(14, 11), kColours.face.rgb());
    // Sunken edge: shadow on the left and top, highlight on the right and bottom of the hole.
    EXPECT_EQ(buffer.pixel(13, H / 2), kColours.shadow.rgb());
    EXPECT_EQ(buffer.pixel(12, H / 2), kColours.shadow.rgb());
    EXPECT_EQ(buffer.pixel(W / 2, 13), kColours.shadow.rgb());
    EXPECT_EQ(buffer.pixel(W - 14, H / 2), kColours.highlight.rgb());
    EXPECT_EQ(buffer.pixel(W - 13, H / 2), kColours.highlight.rgb());
    EXPECT_EQ(buffer.pixel(W / 2, H - 14), kColours.highlight.rgb());
}

TEST_F(FramePainting, TheBufferFollowsTheClientSize)
{
    FramePainter painter(96, kColours);
    QImage buffer;
    painter.paint(buffer, inputFor(0, {0, 0}, {1, 1}));
    EXPECT_EQ(buffer.size(), QSize(29, 29));
    painter.paint(buffer, inputFor(2, {-500, -500}, {700, 30}));
    EXPECT_EQ(buffer.size(), QSize(728, 58));
}
