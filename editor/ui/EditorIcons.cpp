#include "editor/ui/EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

namespace {

// The plain set is slate grey; the set under the pointer is blue with a light fill.
struct IconInk {
    QColor stroke;
    QColor fill;
};
const IconInk kPlainInk{QColor(0x3c, 0x44, 0x50), QColor(0xe4, 0xe8, 0xee)};
const IconInk kHoverInk{QColor(0x11, 0x5c, 0xc4), QColor(0xd6, 0xe8, 0xff)};

QPen strokePen(const IconInk& ink, qreal width = 1.6)
{
    return QPen(ink.stroke, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// An arrow head at `tip` pointing along `angleDegrees` (0 = right, clockwise positive, y down).
void drawArrowHead(QPainter& p, const IconInk& ink, QPointF tip, qreal angleDegrees, qreal length = 4.2)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    const qreal spread = qDegreesToRadians(30.0);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - QPointF(std::cos(a - spread), std::sin(a - spread)) * length);
    head.lineTo(tip - QPointF(std::cos(a + spread), std::sin(a + spread)) * length);
    head.closeSubpath();
    p.setPen(strokePen(ink, 1.0));
    p.setBrush(ink.stroke);
    p.drawPath(head);
}

// A clockwise arc around (10, 10) from `startDegrees` (0 = top) over `spanDegrees`, with a head.
void drawTurnArrow(QPainter& p, const IconInk& ink, qreal radius, qreal startDegrees, qreal spanDegrees)
{
    QRectF box(10 - radius, 10 - radius, 2 * radius, 2 * radius);
    // Qt counts angles counter-clockwise from 3 o'clock.
    const qreal qtStart = 90 - startDegrees;
    p.setPen(strokePen(ink, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, static_cast<int>(qtStart * 16), static_cast<int>(-spanDegrees * 16));
    const qreal end = qDegreesToRadians(startDegrees + spanDegrees);
    QPointF tip(10 + radius * std::sin(end), 10 - radius * std::cos(end));
    drawArrowHead(p, ink, tip, startDegrees + spanDegrees);
}

void drawScroll(QPainter& p, const IconInk& ink)
{
    p.setPen(strokePen(ink));
    p.drawLine(QPointF(10, 3.5), QPointF(10, 16.5));
    p.drawLine(QPointF(3.5, 10), QPointF(16.5, 10));
    drawArrowHead(p, ink, {10, 2}, -90);
    drawArrowHead(p, ink, {10, 18}, 90);
    drawArrowHead(p, ink, {2, 10}, 180);
    drawArrowHead(p, ink, {18, 10}, 0);
}

void drawSelect(QPainter& p, const IconInk& ink)
{
    p.fillRect(QRectF(3, 4, 14, 12), ink.fill);
    QPen dashes(ink.stroke, 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    dashes.setDashPattern({2, 1.4});
    p.setPen(dashes);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 4, 14, 12));
}

void drawCrop(QPainter& p, const IconInk& ink)
{
    p.fillRect(QRectF(6, 6, 8, 8), ink.fill);
    p.setPen(strokePen(ink, 2.0));
    p.drawPolyline(QPolygonF({QPointF(5, 1.5), QPointF(5, 15), QPointF(18.5, 15)}));
    p.drawPolyline(QPolygonF({QPointF(1.5, 5), QPointF(15, 5), QPointF(15, 18.5)}));
}

void drawRotate(QPainter& p, const IconInk& ink)
{
    p.setPen(strokePen(ink, 1.2));
    p.setBrush(ink.fill);
    p.drawRect(QRectF(7, 7, 6, 6));
    drawTurnArrow(p, ink, 6.8, -60, 270);
}

void drawUndo(QPainter& p, const IconInk& ink)
{
    QPainterPath path;
    path.moveTo(16.5, 16);
    path.cubicTo(17.5, 9, 12, 6.5, 4.5, 7.5);
    p.setPen(strokePen(ink, 1.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    drawArrowHead(p, ink, {2.8, 7.7}, 176, 5.0);
}

void drawAngle(QPainter& p, const IconInk& ink, qreal degrees)
{
    p.setPen(strokePen(ink, 1.2));
    p.setBrush(ink.fill);
    p.drawRect(QRectF(6.5, 8, 7, 4.5));
    // The arc starts before twelve o'clock so that a quarter turn still shows a clear arc beside
    // its head.
    drawTurnArrow(p, ink, 7.2, -30, degrees + 5);
}

void drawSelectColor(QPainter& p, const IconInk& ink)
{
    p.setPen(strokePen(ink, 1.2));
    p.setBrush(ink.fill);
    p.drawEllipse(QRectF(2, 3, 16, 14));
    p.setPen(Qt::NoPen);
    const QColor dots[] = {QColor(0xd9, 0x35, 0x2c), QColor(0x2f, 0x9e, 0x44), QColor(0x1c, 0x6f, 0xd6),
                           QColor(0xf2, 0xb7, 0x05)};
    const QPointF centres[] = {{6.5, 8}, {10.5, 6.3}, {14, 9}, {12.5, 13}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(centres[i], 1.8, 1.8);
    }
    p.setBrush(Qt::white);
    p.setPen(strokePen(ink, 1.0));
    p.drawEllipse(QPointF(6.5, 13), 1.9, 1.9); // the thumb hole
}

QPixmap drawIcon(EditorIcon which, int size, const IconInk& ink)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 20.0, size / 20.0);
    switch (which) {
    case EditorIcon::Scroll:
        drawScroll(p, ink);
        break;
    case EditorIcon::Select:
        drawSelect(p, ink);
        break;
    case EditorIcon::Crop:
        drawCrop(p, ink);
        break;
    case EditorIcon::Rotate:
        drawRotate(p, ink);
        break;
    case EditorIcon::Undo:
        drawUndo(p, ink);
        break;
    case EditorIcon::Rotate90:
        drawAngle(p, ink, 90);
        break;
    case EditorIcon::Rotate180:
        drawAngle(p, ink, 180);
        break;
    case EditorIcon::Rotate270:
        drawAngle(p, ink, 270);
        break;
    case EditorIcon::SelectColor:
        drawSelectColor(p, ink);
        break;
    }
    return pixmap;
}

} // namespace

QIcon editorIcon(EditorIcon which, int size)
{
    QIcon icon;
    icon.addPixmap(drawIcon(which, size, kPlainInk), QIcon::Normal);
    icon.addPixmap(drawIcon(which, size, kHoverInk), QIcon::Active);
    return icon;
}

QSize menuButtonIconSize(int size)
{
    return {size + (size * 7 + 10) / 20, size};
}

QIcon editorMenuButtonIcon(EditorIcon which, int size)
{
    QIcon icon;
    const QSize whole = menuButtonIconSize(size);
    for (const auto& [ink, mode] : {std::pair{kPlainInk, QIcon::Normal}, std::pair{kHoverInk, QIcon::Active}}) {
        QPixmap pixmap(whole);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.drawPixmap(0, 0, drawIcon(which, size, ink));
        // The drop-down arrow beside the picture, never over it.
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 20.0, size / 20.0);
        p.setPen(Qt::NoPen);
        p.setBrush(ink.stroke);
        const qreal left = 21;
        p.drawPolygon(QPolygonF({QPointF(left, 11), QPointF(left + 5.5, 11), QPointF(left + 2.75, 14)}));
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}
