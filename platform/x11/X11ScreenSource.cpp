#include "platform/x11/X11ScreenSource.h"

#include <QGuiApplication>
#include <QScreen>

std::vector<Monitor> X11ScreenSource::monitors() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return {};
    }
    // Qt's screens are the RandR monitors, its primary screen the RandR primary output.
    std::vector<Monitor> list;
    QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&](const QScreen* screen) {
        const QRect bounds = screen->geometry();
        const QRect available = screen->availableGeometry();
        const QSizeF millimetres = screen->physicalSize();
        const double density = millimetres.width() > 0 ? bounds.width() * 25.4 / millimetres.width() : 0;
        list.push_back({Rect::fromSize(bounds.x(), bounds.y(), bounds.width(), bounds.height()),
                        Rect::fromSize(available.x(), available.y(), available.width(), available.height()), density});
    };
    if (primary) {
        add(primary);
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            add(screen);
        }
    }
    return list;
}
