// The notification-area icon through QSystemTrayIcon (an XEmbed client in X11 trays such as
// icewm's, a StatusNotifierItem where the desktop offers one), kept docked while the tray comes
// and goes.
#pragma once

#include "platform/TrayService.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdint>

class QtTrayService : public QObject, public TrayService {
public:
    explicit QtTrayService(const QIcon& picture, QObject* parent = nullptr);
    ~QtTrayService() override;

    void setEvents(TrayIconEvents events) override;
    void showIcon() override;
    void removeIcon() override;
    bool iconDocked() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void watchTray();
    void dock();
    // The window that owns the X tray selection now; 0 when there is none or this is not X11.
    uint32_t trayOwner() const;

    QSystemTrayIcon icon_;
    TrayIconEvents events_;
    // A first click waits this long for its second before it counts as a single click.
    QTimer singleClick_;
    QTimer trayWatch_;
    uint32_t trayAtom_ = 0;
    uint32_t lastOwner_ = 0;
    // The tray owner has not changed since the last look at the icon.
    bool settled_ = true;
    bool wanted_ = false;
    bool awaitingRightRelease_ = false;
    bool reportedMissing_ = false;
};
