// The previews' own cursors, drawn in code: an open hand to show that the image scrolls, a
// closed hand while it is dragged, and a pipette for picking the transparent pixel.
#include "save/ui/SavePreviewPane.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kCursorSize = 32;

QPixmap blankCursor()
{
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawOutlined(QPixmap& pixmap, const QPainterPath& shape)
{
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(shape.simplified());
}

// A rounded finger rising from the palm's top edge.
void addFinger(QPainterPath& path, qreal left, qreal top, qreal bottom)
{
    path.addRoundedRect(QRectF(left, top, 4.5, bottom - top), 2.25, 2.25);
}

QCursor openHand()
{
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 13, 17, 13), 4, 4); // palm
    addFinger(hand, 8.5, 5, 16);
    addFinger(hand, 13, 3, 15);
    addFinger(hand, 17.5, 4, 15);
    addFinger(hand, 21.5, 7, 16);
    QPainterPath thumb;
    thumb.moveTo(9, 22);
    thumb.lineTo(3.5, 15.5);
    thumb.quadTo(3, 12.5, 6, 13);
    thumb.lineTo(11, 18);
    thumb.closeSubpath();
    hand.addPath(thumb);
    QPixmap pixmap = blankCursor();
    drawOutlined(pixmap, hand);
    return QCursor(pixmap, 15, 15);
}

QCursor closedHand()
{
    QPainterPath fist;
    fist.addRoundedRect(QRectF(8, 12, 17, 14), 4, 4);
    for (int i = 0; i < 4; ++i) {
        fist.addRoundedRect(QRectF(8.5 + i * 4.2, 9.5, 4.5, 6), 2.25, 2.25); // bent fingers
    }
    QPixmap pixmap = blankCursor();
    drawOutlined(pixmap, fist);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(10, 17), QPointF(15, 17)); // the thumb over the fingers
    return QCursor(pixmap, 16, 16);
}

QCursor pickerCursor()
{
    // A pipette lying from its tip at the bottom left to its bulb at the top right; the tip is
    // the hot spot.
    QPixmap pixmap = blankCursor();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(1, 30);
    painter.rotate(-45);
    QPainterPath tube;
    tube.moveTo(0, 0);
    tube.lineTo(4, -2);
    tube.lineTo(22, -2);
    tube.lineTo(22, 2);
    tube.lineTo(4, 2);
    tube.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(tube);
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(21, -4, 3, 8));                     // the collar
    painter.drawRoundedRect(QRectF(24, -3.5, 11, 7), 3.5, 3.5); // the bulb
    painter.end();
    return QCursor(pixmap, 1, 30);
}

} // namespace

SavePaneCursors SavePaneCursors::load()
{
    return {openHand(), closedHand(), pickerCursor()};
}
