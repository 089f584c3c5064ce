// The screen of a Wayland session, asked of the desktop through the xdg-desktop-portal Screenshot
// interface: XWayland gives X11 programs no picture of other windows, the desktop does. The whole
// screen comes back as a picture file; the rectangle is cut from it in XWayland's coordinates,
// which are the desktop's when the picture has the X screen's size (one scale for all outputs).
// The palette, the cursor image and the screens' areas still come from the X server.
#pragma once

#include "platform/DesktopPictureScreenSource.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

class PortalScreenSource : public QObject, public DesktopPictureScreenSource {
    Q_OBJECT
public:
    // `x11` gives everything but the pixels and outlives this object.
    explicit PortalScreenSource(ScreenSource& x11, QObject* parent = nullptr);

    // Whether a session bus is there to ask (never started for the asking).
    static bool sessionBusConfigured();

    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;

public slots:
    void takeResponse(uint response, const QVariantMap& results);

private:
    // The desktop's picture of the whole screen as a file's path; nothing (and the reason set)
    // when the portal refused or did not answer.
    std::optional<QString> askForScreenshot();

    std::optional<uint> response_;
    QVariantMap results_;
    int requests_ = 0;
};
