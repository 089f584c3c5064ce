#include "capture/ui/FramePainter.h"

#include "capture/FrameGeometry.h"
#include "common/Rounding.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kLabelPoints = 8;
constexpr int kCaptionPoints = 7;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

QFont arialAt(int points, int pixelsPerInch)
{
    QFont font(QStringLiteral("Arial"));
    // The character height in pixels of a font of that many points on this display.
    font.setPixelSize(std::max(1, mulDiv(points, pixelsPerInch > 0 ? pixelsPerInch : 96, 72)));
    return font;
}

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

// Solid rectangles straight into the buffer: the ticks are many and tiny, and each is clipped here.
void fillRectangles(QImage& image, const std::vector<Rect>& rects, QRgb colour)
{
    const Rect bounds{0, 0, image.width(), image.height()};
    for (const Rect& rect : rects) {
        Rect clipped = rect.intersected(bounds);
        if (clipped.isEmpty()) {
            continue;
        }
        for (int y = clipped.top; y < clipped.bottom; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(row + clipped.left, row + clipped.right, colour);
        }
    }
}

void drawLabel(QPainter& painter, const RulerLabel& label, const QColor& face, int ascent)
{
    const QRect clip = toQRect(label.clip);
    painter.fillRect(clip, face);
    painter.setClipRect(clip);
    painter.setPen(QColor::fromRgb(label.colour == LabelColour::Red ? kRed : kBlack));
    const QString text = QString::fromStdString(label.text);
    if (label.rotated) {
        painter.save();
        painter.translate(label.at.x, label.at.y);
        painter.rotate(-90); // reads from bottom to top
        painter.drawText(0, ascent, text);
        painter.restore();
    } else {
        painter.drawText(label.at.x, label.at.y + ascent, text);
    }
    painter.setClipping(false);
}

} // namespace

QImage makeGripPattern(const FrameColours& colours)
{
    static constexpr int kHighlight[][2] = {{0, 1}, {0, 2}, {0, 5}, {0, 6}, {1, 0}, {1, 4}, {2, 0}, {2, 4},
                                            {4, 1}, {4, 2}, {4, 5}, {4, 6}, {5, 0}, {5, 4}, {6, 0}, {6, 4}};
    static constexpr int kShadow[][2] = {{1, 3}, {1, 7}, {2, 3}, {2, 7}, {3, 1}, {3, 2}, {3, 5}, {3, 6},
                                         {5, 3}, {5, 7}, {6, 3}, {6, 7}, {7, 1}, {7, 2}, {7, 5}, {7, 6}};
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(colours.face);
    for (const auto& p : kHighlight) {
        pattern.setPixel(p[0], p[1], colours.highlight.rgb());
    }
    for (const auto& p : kShadow) {
        pattern.setPixel(p[0], p[1], colours.shadow.rgb());
    }
    return pattern;
}

FramePainter::FramePainter(int pixelsPerInch, const FrameColours& colours)
    : colours_(colours), gripPattern_(makeGripPattern(colours)), labelFont_(arialAt(kLabelPoints, pixelsPerInch)),
      captionFont_(arialAt(kCaptionPoints, pixelsPerInch))
{
}

int FramePainter::labelWidth(std::string_view text) const
{
    return QFontMetrics(labelFont_)
        .horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void FramePainter::paint(QImage& buffer, const FramePaintInput& input) const
{
    const int width = std::max(1, input.frame.client.width);
    const int height = std::max(1, input.frame.client.height);
    if (buffer.width() != width || buffer.height() != height || buffer.format() != QImage::Format_RGB32) {
        buffer = QImage(width, height, QImage::Format_RGB32);
    }
    if (input.showRulers) {
        paintRulers(buffer, input);
    } else {
        paintGripLook(buffer, input);
    }
    paintOuterEdge(buffer, width, height);
}

void FramePainter::paintRulers(QImage& buffer, const FramePaintInput& input) const
{
    buffer.fill(colours_.face);
    fillRectangles(buffer, rulerMarks(input.frame), kBlack);

    const QFontMetrics metrics(labelFont_);
    const QByteArray separator = input.decimalSeparator.toUtf8();
    auto labels =
        rulerLabels(input.frame, std::string_view(separator.constData(), separator.size()), [&](std::string_view text) {
            return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        });
    if (labels.empty()) {
        return;
    }
    QPainter painter(&buffer);
    painter.setFont(labelFont_);
    for (const RulerLabel& label : labels) {
        drawLabel(painter, label, colours_.face, metrics.ascent());
    }
}

void FramePainter::paintGripLook(QImage& buffer, const FramePaintInput& input) const
{
    const int B = input.frame.borderWidth;
    const int W = buffer.width();
    const int H = buffer.height();
    QPainter painter(&buffer);
    painter.fillRect(buffer.rect(), QBrush(gripPattern_));

    // The caption on the top band, starting above the hole's left edge, on plain face colour.
    const QFontMetrics metrics(captionFont_);
    const QString caption = QString::fromLatin1(kCaption);
    const QRect captionRect(B, 0, metrics.horizontalAdvance(caption), B);
    painter.fillRect(captionRect, colours_.face);
    painter.setClipRect(captionRect);
    painter.setFont(captionFont_);
    painter.setPen(Qt::black);
    painter.drawText(B, -1 + metrics.ascent(), caption);
    painter.setClipping(false);

    // A sunken edge two pixels wide just outside the hole.
    painter.fillRect(QRect(QPoint(B - 2, B - 2), QPoint(W - B - 1, B - 1)), colours_.shadow);
    painter.fillRect(QRect(QPoint(B - 2, B - 2), QPoint(B - 1, H - B - 1)), colours_.shadow);
    painter.fillRect(QRect(QPoint(W - B, B - 2), QPoint(W - B + 1, H - B + 1)), colours_.highlight);
    painter.fillRect(QRect(QPoint(B - 2, H - B), QPoint(W - B + 1, H - B + 1)), colours_.highlight);
}

void FramePainter::paintOuterEdge(QImage& buffer, int width, int height) const
{
    const int W = width;
    const int H = height;
    fillRectangles(buffer, {axisLineRect({0, H - 1}, {0, 0}), axisLineRect({0, 0}, {W - 1, 0})}, colours_.shadow.rgb());
    fillRectangles(buffer, {axisLineRect({W - 1, 0}, {W - 1, H - 1}), axisLineRect({W - 1, H - 1}, {0, H - 1})},
                   colours_.highlight.rgb());
}
