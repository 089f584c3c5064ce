#include "app/ui/OutsideEndWatch.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

OutsideEndWatch::OutsideEndWatch(std::function<void()> saveSettings, std::function<void()> endWithoutAsking)
    : saveSettings_(std::move(saveSettings)), endWithoutAsking_(std::move(endWithoutAsking))
{
    // The session manager may end the program without waiting after this: the settings are
    // saved now. It is never asked for a chance to interact, so nothing waits for the user.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { saveSettings_(); });
    connect(qGuiApp, &QGuiApplication::saveStateRequest, this, [this](QSessionManager&) { saveSettings_(); });
    qGuiApp->installEventFilter(this);
}

OutsideEndWatch::~OutsideEndWatch()
{
    qGuiApp->removeEventFilter(this);
}

bool OutsideEndWatch::eventFilter(QObject* watched, QEvent* event)
{
    // The session manager's quit and QCoreApplication::quit() arrive as this event, which would
    // offer each window a close: the Remote Control's would ask its question, and the Capture
    // Frame's refusal would cancel the quit.
    if (watched == qGuiApp && event->type() == QEvent::Quit) {
        endWithoutAsking_();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
