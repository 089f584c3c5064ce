#include "platform/x11/QtTrayService.h"

#include "platform/x11/QtXcbConnection.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Often enough that a window manager restart is noticed at once, cheap enough to run for ever:
// one round trip to the X server.
constexpr int kTrayWatchMs = 500;

uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : 0;
}

} // namespace

QtTrayService::QtTrayService(const QIcon& picture, QObject* parent) : QObject(parent), icon_(this)
{
    icon_.setIcon(picture);
    singleClick_.setSingleShot(true);
    singleClick_.setInterval(QApplication::doubleClickInterval());
    connect(&singleClick_, &QTimer::timeout, this, [this] {
        if (events_.clicked) {
            events_.clicked();
        }
    });
    connect(&icon_, &QSystemTrayIcon::activated, this, &QtTrayService::onActivated);
    if (xcb_connection_t* connection = qtXcbConnection().connection) {
        trayAtom_ = internAtom(connection, "_NET_SYSTEM_TRAY_S0");
    }
    trayWatch_.setInterval(kTrayWatchMs);
    connect(&trayWatch_, &QTimer::timeout, this, &QtTrayService::watchTray);
    qApp->installEventFilter(this);
}

QtTrayService::~QtTrayService()
{
    qApp->removeEventFilter(this);
}

void QtTrayService::setEvents(TrayIconEvents events)
{
    events_ = std::move(events);
}

void QtTrayService::showIcon()
{
    wanted_ = true;
    lastOwner_ = trayOwner();
    dock();
    if (trayAtom_ != 0) {
        trayWatch_.start();
    }
}

void QtTrayService::removeIcon()
{
    wanted_ = false;
    trayWatch_.stop();
    icon_.hide();
}

bool QtTrayService::iconDocked() const
{
    return wanted_ && icon_.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayService::dock()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!reportedMissing_) {
            reportedMissing_ = true;
            std::fputs("Zentrap: no notification area (system tray) found; running without the tray icon "
                       "until one appears.\n",
                       stderr);
        }
        icon_.hide();
        return;
    }
    // Hiding first makes Qt drop its old tray window and dock a fresh one.
    icon_.hide();
    icon_.show();
}

void QtTrayService::watchTray()
{
    const uint32_t owner = trayOwner();
    if (owner != lastOwner_) {
        // A tray appeared, went away or was replaced. Qt re-docks an icon it had docked before;
        // give it one round to do so before looking.
        const bool lost = lastOwner_ != 0;
        lastOwner_ = owner;
        settled_ = false;
        if (lost && wanted_ && events_.trayLost) {
            events_.trayLost();
        }
        return;
    }
    if (settled_) {
        return;
    }
    settled_ = true;
    // An icon that Qt never docked (no tray at start), or that lost its tray, has no geometry.
    if (owner != 0 && wanted_ && icon_.geometry().isEmpty()) {
        dock();
    }
}

uint32_t QtTrayService::trayOwner() const
{
    xcb_connection_t* connection = qtXcbConnection().connection;
    if (connection == nullptr || trayAtom_ == 0) {
        return 0;
    }
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, trayAtom_), nullptr), &std::free);
    return reply ? reply->owner : 0;
}

void QtTrayService::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // The second press of a double-click may report a Trigger too: the first one's wait covers it.
        if (!singleClick_.isActive()) {
            singleClick_.start();
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        singleClick_.stop();
        if (events_.doubleClicked) {
            events_.doubleClicked();
        }
        break;
    case QSystemTrayIcon::Context:
        // An XEmbed icon reports the press, and the menu waits for the release (the event filter
        // saw the press first). A StatusNotifierItem host reports a finished click: open now.
        if (!awaitingRightRelease_ && events_.menuRequested) {
            const QPoint at = QCursor::pos();
            events_.menuRequested({at.x(), at.y()});
        }
        break;
    default:
        break;
    }
}

bool QtTrayService::eventFilter(QObject* watched, QEvent* event)
{
    // Qt's XEmbed icon is a widget of this class; its presses reach this filter before the icon.
    if (event->type() == QEvent::MouseButtonPress && watched->inherits("QSystemTrayIconSys")) {
        awaitingRightRelease_ = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    }
    if (awaitingRightRelease_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            awaitingRightRelease_ = false;
            const QPoint at = mouse->globalPosition().toPoint();
            // Opened once the release is handled, so the icon's mouse grab has ended.
            QTimer::singleShot(0, this, [this, at] {
                if (events_.menuRequested) {
                    events_.menuRequested({at.x(), at.y()});
                }
            });
        }
    }
    return QObject::eventFilter(watched, event);
}
