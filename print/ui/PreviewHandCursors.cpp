#include "print/ui/PreviewHandCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

// A mitten seen from the back: palm, four fingers of different lengths and the thumb to the left.
QPainterPath openHandShape()
{
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 14, 15, 12), 5, 5);
    const qreal tips[] = {6, 4, 5, 8};
    for (int i = 0; i < 4; ++i) {
        hand.addRoundedRect(QRectF(9 + i * 3.8, tips[i], 3.8, 18 - tips[i]), 1.9, 1.9);
    }
    QPainterPath thumb;
    thumb.moveTo(10, 24);
    thumb.cubicTo(6, 21, 3, 17, 4.5, 15);
    thumb.cubicTo(6, 13.5, 8, 15, 11, 18);
    thumb.closeSubpath();
    hand.addPath(thumb);
    return hand.simplified();
}

// The same hand closed: knuckles in a row over the palm, the thumb folded across.
QPainterPath closedHandShape()
{
    QPainterPath fist;
    fist.addRoundedRect(QRectF(9, 12, 15, 14), 5, 5);
    for (int i = 0; i < 4; ++i) {
        fist.addEllipse(QRectF(9 + i * 3.8, 9.5, 3.8, 5));
    }
    return fist.simplified();
}

QPixmap drawn(const QPainterPath& shape, bool thumbAcross)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPath(shape);
    painter.setPen(QPen(Qt::black, 1));
    if (thumbAcross) {
        painter.drawLine(QPointF(11, 18.5), QPointF(17, 18.5));
    } else {
        // Creases between the fingers where they leave the palm.
        for (int i = 1; i < 4; ++i) {
            painter.drawLine(QPointF(9 + i * 3.8, 12), QPointF(9 + i * 3.8, 16));
        }
    }
    return pixmap;
}

} // namespace

PreviewHandCursors PreviewHandCursors::load()
{
    return {QCursor(drawn(openHandShape(), false), 16, 15), QCursor(drawn(closedHandShape(), true), 16, 16)};
}
