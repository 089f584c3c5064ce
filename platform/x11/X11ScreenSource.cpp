#include "platform/x11/X11ScreenSource.h"

#include <QGuiApplication>
#include <QScreen>

std::vector<Rect> X11ScreenSource::availableAreas() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return ScreenSource::availableAreas();
    }
    std::vector<Rect> areas;
    QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&](const QScreen* screen) {
        QRect area = screen->availableGeometry();
        areas.push_back(Rect::fromSize(area.x(), area.y(), area.width(), area.height()));
    };
    if (primary) {
        add(primary);
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            add(screen);
        }
    }
    return areas.empty() ? ScreenSource::availableAreas() : areas;
}
