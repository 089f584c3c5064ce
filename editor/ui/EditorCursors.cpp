#include "editor/ui/EditorCursors.h"

#include "common/DesignLength.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDesignSize = 32;

// A transparent square of the cursor's size and a painter whose units are design pixels.
struct CursorCanvas {
    explicit CursorCanvas(int pixelsPerInch)
        : size(std::max(kDesignSize, scaledDesignLength(kDesignSize, pixelsPerInch))), pixmap(size, size)
    {
        pixmap.fill(Qt::transparent);
    }
    int size;
    QPixmap pixmap;
    qreal unit() const { return static_cast<qreal>(size) / kDesignSize; }
    // The hot spot of design point (x, y) in the drawn pixmap.
    QCursor cursor(int x, int y) const
    {
        return QCursor(pixmap, static_cast<int>(std::lround(x * unit())), static_cast<int>(std::lround(y * unit())));
    }
};

void fillOutlined(QPainter& painter, const QPainterPath& shape)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(shape.simplified());
}

// The palm with its heel, shared by both hands.
QPainterPath palm(qreal top)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(9, top, 16, 27 - top), 5, 5);
    return path;
}

QCursor openHand(int pixelsPerInch)
{
    CursorCanvas canvas(pixelsPerInch);
    QPainterPath hand = palm(14);
    // Four fingers of different lengths, slightly fanned.
    const qreal tops[] = {6.5, 3.5, 4, 7.5};
    for (int i = 0; i < 4; ++i) {
        hand.addRoundedRect(QRectF(9.2 + i * 3.95, tops[i], 3.9, 17 - tops[i]), 1.95, 1.95);
    }
    QPainterPath thumb;
    thumb.moveTo(10.5, 23);
    thumb.lineTo(4.2, 16.8);
    thumb.cubicTo(2.8, 15.2, 4.6, 12.8, 6.5, 14.2);
    thumb.lineTo(11, 18.5);
    thumb.closeSubpath();
    hand.addPath(thumb);
    QPainter painter(&canvas.pixmap);
    painter.scale(canvas.unit(), canvas.unit());
    fillOutlined(painter, hand);
    painter.setPen(QPen(Qt::black, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < 4; ++i) {
        painter.drawLine(QPointF(9.2 + i * 3.95, 14.5), QPointF(9.2 + i * 3.95, 16.5)); // finger gaps
    }
    painter.end();
    return canvas.cursor(16, 15);
}

QCursor closedHand(int pixelsPerInch)
{
    CursorCanvas canvas(pixelsPerInch);
    QPainterPath fist = palm(13);
    for (int i = 0; i < 4; ++i) {
        fist.addRoundedRect(QRectF(9.2 + i * 3.95, 10, 3.9, 6), 1.95, 1.95); // the knuckles
    }
    QPainter painter(&canvas.pixmap);
    painter.scale(canvas.unit(), canvas.unit());
    fillOutlined(painter, fist);
    painter.setPen(QPen(Qt::black, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < 4; ++i) {
        painter.drawLine(QPointF(9.2 + i * 3.95, 11), QPointF(9.2 + i * 3.95, 14));
    }
    painter.drawLine(QPointF(11, 18.5), QPointF(16.5, 18.5)); // the thumb across the fingers
    painter.end();
    return canvas.cursor(16, 16);
}

QCursor hairCross(int pixelsPerInch)
{
    // Whole-pixel bars, so the lines stay one crisp pixel line (two at double scale), with a white
    // halo that keeps them visible on dark images; the centre stays open.
    CursorCanvas canvas(pixelsPerInch);
    const int u = std::max(1, static_cast<int>(std::lround(canvas.unit())));
    const int c = 15 * u; // the centre pixel's left and top
    const int reach = 11 * u;
    const int gap = 3 * u;
    QPainter painter(&canvas.pixmap);
    auto bars = [&](int thickness, int grow, const QColor& color) {
        const int offset = (thickness - u) / 2;
        painter.fillRect(c - reach - grow, c - offset, reach - gap + 2 * grow, thickness, color);
        painter.fillRect(c + u + gap - grow, c - offset, reach - gap + 2 * grow, thickness, color);
        painter.fillRect(c - offset, c - reach - grow, thickness, reach - gap + 2 * grow, color);
        painter.fillRect(c - offset, c + u + gap - grow, thickness, reach - gap + 2 * grow, color);
    };
    bars(3 * u, u, Qt::white);
    bars(u, 0, Qt::black);
    painter.fillRect(c, c, u, u, Qt::black); // the hot spot itself
    painter.end();
    return QCursor(canvas.pixmap, c + u / 2, c + u / 2);
}

} // namespace

EditorCursors EditorCursors::forDensity(int pixelsPerInch)
{
    return {openHand(pixelsPerInch), closedHand(pixelsPerInch), hairCross(pixelsPerInch)};
}
