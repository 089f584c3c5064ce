#include "app/ui/TrayIconPicture.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

int scaledToEdge(int edge, double fraction)
{
    return static_cast<int>(std::lround(edge * fraction));
}

QPixmap drawTrayPicture(int edge)
{
    QPixmap picture(edge, edge);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);

    // The tile: a rounded square with a darker rim.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double rim = 0.5;
    const QRectF tile(rim, rim, edge - 2 * rim, edge - 2 * rim);
    painter.setPen(QPen(QColor(0x0e, 0x4c, 0x4c), 1.0));
    painter.setBrush(QColor(0x1f, 0x8a, 0x8a));
    painter.drawRoundedRect(tile, edge / 5.0, edge / 5.0);

    // The viewfinder: four corner brackets of whole pixels, so the lines stay sharp.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int line = edge >= 24 ? 2 : 1;
    const int inset = scaledToEdge(edge, 0.19);
    const int arm = scaledToEdge(edge, 0.22);
    const int far = edge - inset;
    const QColor bracket(0xd8, 0xf6, 0xf6);
    painter.fillRect(inset, inset, arm, line, bracket);
    painter.fillRect(inset, inset, line, arm, bracket);
    painter.fillRect(far - arm, inset, arm, line, bracket);
    painter.fillRect(far - line, inset, line, arm, bracket);
    painter.fillRect(inset, far - line, arm, line, bracket);
    painter.fillRect(inset, far - arm, line, arm, bracket);
    painter.fillRect(far - arm, far - line, arm, line, bracket);
    painter.fillRect(far - line, far - arm, line, arm, bracket);

    // The record dot, centred on the pixel grid.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int dot = 2 * scaledToEdge(edge, 0.17);
    const int corner = (edge - dot) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe2, 0x48, 0x3a));
    painter.drawEllipse(QRect(corner, corner, dot, dot));
    return picture;
}

} // namespace

QIcon trayIconPicture()
{
    QIcon icon;
    for (int edge : {16, 22, 24, 32}) {
        icon.addPixmap(drawTrayPicture(edge));
    }
    return icon;
}
