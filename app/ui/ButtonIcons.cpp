#include "app/ui/ButtonIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Colours of the enabled look; the disabled look paints every stroke and fill in greys.
struct Palette {
    QColor ink;
    QColor accent;
    QColor fill;
    QColor paper;
};

const Palette kEnabled{QColor(40, 48, 64), QColor(200, 40, 40), QColor(70, 130, 200), QColor(250, 250, 250)};
const Palette kDisabled{QColor(150, 150, 150), QColor(170, 170, 170), QColor(185, 185, 185), QColor(225, 225, 225)};
// The Timer button's other two states: held under the mouse, and down (the next capture waits).
const Palette kHeld{QColor(40, 48, 64), QColor(200, 40, 40), QColor(70, 130, 200), QColor(214, 222, 236)};
const Palette kDown{QColor(40, 48, 64), QColor(200, 40, 40), QColor(70, 130, 200), QColor(255, 214, 120)};

using Drawing = std::function<void(QPainter&, const Palette&)>;

QPen pen(const QColor& c, double width = 1.4)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The pen and brush of an outlined shape: `line` strokes, `fill` fills.
void outline(QPainter& p, const QColor& line, const QBrush& fill, double width = 1.4)
{
    p.setPen(pen(line, width));
    p.setBrush(fill);
}

// A round spot of `color` without an outline.
void spot(QPainter& p, const QColor& color, QPointF centre, double radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(centre, radius, radius);
}

void drawMenu(QPainter& p, const Palette& c)
{
    p.setPen(pen(c.ink, 1.8));
    for (double y : {4.5, 8.0, 11.5}) {
        p.drawLine(QPointF(3.5, y), QPointF(12.5, y));
    }
}

void drawCross(QPainter& p, const QColor& color)
{
    p.setPen(pen(color, 2.0));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void drawCapture(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.fill);
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    p.drawRect(QRectF(5.5, 2.5, 5, 2));
    p.setBrush(c.paper);
    p.drawEllipse(QPointF(8, 9), 3, 3);
    spot(p, c.accent, QPointF(8, 9), 1.6);
}

void drawFullScreen(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.paper);
    p.drawRect(QRectF(1.5, 2.5, 13, 9));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 13.5));
    p.drawLine(QPointF(5, 14), QPointF(11, 14));
    p.setPen(pen(c.fill, 1.6));
    // Four corner marks: the whole screen.
    p.drawPolyline(QPolygonF({QPointF(3.5, 6), QPointF(3.5, 4.5), QPointF(5, 4.5)}));
    p.drawPolyline(QPolygonF({QPointF(11, 4.5), QPointF(12.5, 4.5), QPointF(12.5, 6)}));
    p.drawPolyline(QPolygonF({QPointF(3.5, 8), QPointF(3.5, 9.5), QPointF(5, 9.5)}));
    p.drawPolyline(QPolygonF({QPointF(11, 9.5), QPointF(12.5, 9.5), QPointF(12.5, 8)}));
}

// A clock dial; `darkTurns` (0 to 1) of it is shaded from twelve o'clock clockwise.
void drawClock(QPainter& p, const Palette& c, double darkTurns, bool hands)
{
    const QRectF dial(1.5, 1.5, 13, 13);
    outline(p, c.ink, c.paper);
    p.drawEllipse(dial);
    if (darkTurns > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(c.ink);
        if (darkTurns >= 1) {
            p.drawEllipse(dial);
        } else {
            p.drawPie(dial, 90 * 16, -static_cast<int>(std::lround(darkTurns * 360 * 16)));
        }
    }
    if (hands) {
        p.setPen(pen(c.accent, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    }
}

void drawSave(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.fill);
    p.drawPolygon(
        QPolygonF({QPointF(2.5, 2.5), QPointF(12, 2.5), QPointF(13.5, 4), QPointF(13.5, 13.5), QPointF(2.5, 13.5)}));
    p.setBrush(c.paper);
    p.drawRect(QRectF(5, 2.5, 6, 4));
    p.drawRect(QRectF(4.5, 9, 7, 4.5));
}

void drawPrint(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.paper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(c.fill);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(c.paper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    spot(p, c.accent, QPointF(12.3, 8.6), 0.9);
}

void drawEdit(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.fill);
    p.drawPolygon(QPolygonF({QPointF(11, 1.8), QPointF(14.2, 5), QPointF(6, 13.2), QPointF(2.8, 10)}));
    p.setBrush(c.paper);
    p.drawPolygon(QPolygonF({QPointF(2.8, 10), QPointF(6, 13.2), QPointF(2, 14)}));
    p.setPen(pen(c.accent, 1.2));
    p.drawLine(QPointF(9.6, 3.2), QPointF(12.8, 6.4));
}

void drawPreferences(QPainter& p, const Palette& c)
{
    p.setPen(pen(c.ink));
    for (double x : {4.0, 8.0, 12.0}) {
        p.drawLine(QPointF(x, 2), QPointF(x, 14));
    }
    p.setBrush(c.fill);
    p.drawRect(QRectF(2.5, 9, 3, 2.5));
    p.drawRect(QRectF(6.5, 4, 3, 2.5));
    p.drawRect(QRectF(10.5, 7, 3, 2.5));
}

void drawMinimize(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.paper);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    p.setPen(pen(c.fill, 2.0));
    p.drawLine(QPointF(5, 11), QPointF(11, 11));
}

void drawRestore(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.paper);
    p.drawRect(QRectF(5.5, 2.5, 8, 7));
    p.drawRect(QRectF(2.5, 6.5, 8, 7));
    p.setPen(pen(c.fill, 2.0));
    p.drawLine(QPointF(3.5, 7.5), QPointF(9.5, 7.5));
}

void drawLetterBadge(QPainter& p, const Palette& c, const QString& letter)
{
    outline(p, c.ink, c.fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(c.paper);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, letter);
}

void drawExit(QPainter& p, const Palette& c)
{
    outline(p, c.ink, c.paper);
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setPen(pen(c.accent, 1.6));
    p.drawLine(QPointF(7, 8), QPointF(14, 8));
    p.drawPolyline(QPolygonF({QPointF(11.5, 5.5), QPointF(14, 8), QPointF(11.5, 10.5)}));
}

QPixmap render(const Drawing& draw, const Palette& palette, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, palette);
    return pixmap;
}

// Each look at the asked size and at twice it, so a display at 2x scale gets its own pixels.
QIcon iconFrom(const Drawing& draw, int size)
{
    QIcon icon;
    for (const int edge : {size, 2 * size}) {
        icon.addPixmap(render(draw, kEnabled, edge), QIcon::Normal);
        icon.addPixmap(render(draw, kEnabled, edge), QIcon::Active);
        icon.addPixmap(render(draw, kDisabled, edge), QIcon::Disabled);
    }
    return icon;
}

// The resting clock in four states: up, disabled, held (the mouse on it) and down.
QIcon fourStateIcon(const Drawing& draw, int size)
{
    QIcon icon = iconFrom(draw, size);
    for (const int edge : {size, 2 * size}) {
        icon.addPixmap(render(draw, kHeld, edge), QIcon::Active, QIcon::Off);
        icon.addPixmap(render(draw, kDown, edge), QIcon::Normal, QIcon::On);
        icon.addPixmap(render(draw, kDown, edge), QIcon::Active, QIcon::On);
    }
    return icon;
}

Drawing drawingFor(RemoteIcon which)
{
    switch (which) {
    case RemoteIcon::None:
    case RemoteIcon::Menu:
        return drawMenu;
    case RemoteIcon::Close:
        return [](QPainter& p, const Palette& c) { drawCross(p, c.accent); };
    case RemoteIcon::Capture:
        return drawCapture;
    case RemoteIcon::FullScreen:
        return drawFullScreen;
    case RemoteIcon::Timer:
        return [](QPainter& p, const Palette& c) { drawClock(p, c, 0, true); };
    case RemoteIcon::Save:
        return drawSave;
    case RemoteIcon::Print:
        return drawPrint;
    case RemoteIcon::Edit:
        return drawEdit;
    case RemoteIcon::Preferences:
        return drawPreferences;
    case RemoteIcon::Minimize:
        return drawMinimize;
    case RemoteIcon::Restore:
        return drawRestore;
    case RemoteIcon::About:
        return [](QPainter& p, const Palette& c) { drawLetterBadge(p, c, "i"); };
    case RemoteIcon::Help:
        return [](QPainter& p, const Palette& c) { drawLetterBadge(p, c, "?"); };
    case RemoteIcon::Exit:
        return drawExit;
    }
    return drawMenu;
}

} // namespace

QIcon remoteIcon(RemoteIcon which, int size)
{
    if (which == RemoteIcon::None) {
        return {};
    }
    if (which == RemoteIcon::Timer) {
        return fourStateIcon(drawingFor(which), size);
    }
    return iconFrom(drawingFor(which), size);
}

QIcon countdownIcon(int step, int size)
{
    const double turns = std::clamp(step, 1, 8) / 8.0;
    return iconFrom([turns](QPainter& p, const Palette& c) { drawClock(p, c, turns, false); }, size);
}
