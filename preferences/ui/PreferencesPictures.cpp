#include "preferences/ui/PreferencesPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

// The artwork's own side: frames are drawn in these units and scaled to the side asked for.
constexpr int kSide = 48;

// A strip of `frames` transparent frames of `side` pixels; `drawFrame(p, frame)` draws each one in
// the artwork's units.
template <typename DrawFrame> QPixmap pictureStrip(int side, int frames, DrawFrame drawFrame)
{
    QPixmap strip(side * frames, side);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (int frame = 0; frame < frames; ++frame) {
        p.save();
        p.translate(frame * side, 0);
        p.scale(side / double(kSide), side / double(kSide));
        drawFrame(p, frame);
        p.restore();
    }
    return strip;
}

QPainterPath gearPath(double turn)
{
    constexpr int kTeeth = 8;
    QPainterPath path;
    for (int i = 0; i < kTeeth * 4; ++i) {
        const double angle = (i / (kTeeth * 4.0) + turn) * 2 * std::numbers::pi;
        const double radius = (i % 4 == 1 || i % 4 == 2) ? 20.0 : 15.0;
        const QPointF point(24 + radius * std::cos(angle), 24 + radius * std::sin(angle));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    path.addEllipse(QPointF(24, 24), 6, 6);
    return path;
}

} // namespace

QPixmap optionsPictureStrip(int side)
{
    return pictureStrip(side, kOptionsPictureFrames, [](QPainter& p, int frame) {
        // Frame 8 is a whole tooth on from frame 0: the loop turns smoothly and rests upright.
        const QPainterPath gear = gearPath((frame + 1) / (8.0 * kOptionsPictureFrames));
        QLinearGradient metal(0, 4, 0, 44);
        metal.setColorAt(0, QColor(120, 214, 210));
        metal.setColorAt(1, QColor(20, 110, 116));
        p.setPen(QPen(QColor(12, 60, 66), 1.5));
        p.setBrush(metal);
        p.drawPath(gear);
        p.setBrush(QColor(236, 200, 96));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(24, 24), 3, 3);
    });
}

QPixmap hotkeysPictureStrip(int side)
{
    return pictureStrip(side, kHotkeysPictureFrames, [](QPainter& p, int frame) {
        // Down over the first half, lit at the bottom, back up to rest.
        const double press = std::sin(std::numbers::pi * (frame + 1) / kHotkeysPictureFrames);
        const double depth = 5 * press;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 40, 48));
        p.drawRoundedRect(QRectF(6, 14, 36, 30), 6, 6);
        QLinearGradient cap(0, 8 + depth, 0, 38 + depth);
        cap.setColorAt(0, QColor(250, 250, 246));
        cap.setColorAt(1, QColor(190, 196, 204));
        p.setBrush(cap);
        p.setPen(QPen(QColor(60, 70, 80), 1.2));
        p.drawRoundedRect(QRectF(8, 6 + depth, 32, 30), 5, 5);
        const QColor lit = press > 0.8 ? QColor(236, 170, 40) : QColor(28, 132, 134);
        p.setPen(QPen(lit, 2.6, Qt::SolidLine, Qt::RoundCap));
        // A lightning stroke: the key that starts something from anywhere.
        const QPointF zig[] = {{27, 11 + depth}, {20, 22 + depth}, {26, 22 + depth}, {21, 32 + depth}};
        p.drawPolyline(zig, 4);
    });
}
