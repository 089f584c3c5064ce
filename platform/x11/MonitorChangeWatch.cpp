#include "platform/x11/MonitorChangeWatch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <utility>

MonitorChangeWatch::MonitorChangeWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed))
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return;
    }
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        schedule();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &MonitorChangeWatch::schedule);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &MonitorChangeWatch::schedule);
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
}

void MonitorChangeWatch::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &MonitorChangeWatch::schedule);
    connect(screen, &QScreen::availableGeometryChanged, this, &MonitorChangeWatch::schedule);
}

void MonitorChangeWatch::schedule()
{
    // Qt reports one RandR change as several signals; the windows are checked once all have come.
    if (scheduled_) {
        return;
    }
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        changed_();
    });
}
