// The screen of a Wayland session, asked of the desktop through the xdg-desktop-portal Screenshot
// interface: XWayland gives X11 programs no picture of other windows, the desktop does. The whole
// screen comes back as a picture file; the rectangle is cut from it in XWayland's coordinates,
// which are the desktop's when the picture has the X screen's size (one scale for all outputs).
// The palette, the cursor image and the screens' areas still come from the X server.
#pragma once

#include "platform/ScreenSource.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

class PortalScreenSource : public QObject, public ScreenSource {
    Q_OBJECT
public:
    // `x11` gives everything but the pixels and outlives this object.
    explicit PortalScreenSource(ScreenSource& x11, QObject* parent = nullptr);

    // Whether a session bus is there to ask (never started for the asking).
    static bool sessionBusConfigured();

    Size primaryScreenSize() const override { return x11_.primaryScreenSize(); }
    bool isAvailable() const override { return x11_.isAvailable(); }
    std::optional<std::vector<PaletteEntry>> systemPalette() override { return x11_.systemPalette(); }
    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;
    // XWayland knows the pointer only while it is over an X11 window: elsewhere it would give a
    // stale place, so no cursor is drawn into the desktop's picture.
    std::optional<Point> cursorPosition() override { return std::nullopt; }
    std::optional<CursorImage> currentCursor() override { return x11_.currentCursor(); }
    std::vector<Monitor> monitors() const override { return x11_.monitors(); }
    std::string unreadableReason() const override { return unreadable_; }
    // The desktop composes Zentrap's windows into its picture, the frame's hole included.
    bool picturesShowOwnWindows() const override { return true; }

public slots:
    void takeResponse(uint response, const QVariantMap& results);

private:
    // The desktop's picture of the whole screen as a file's path; nothing (and the reason set)
    // when the portal refused or did not answer.
    std::optional<QString> askForScreenshot();

    ScreenSource& x11_;
    std::string unreadable_;
    std::optional<uint> response_;
    QVariantMap results_;
    int requests_ = 0;
};
