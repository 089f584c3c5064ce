// Window-manager requests as EWMH client messages and properties on Qt's xcb connection. Without
// an X11 connection (offscreen tests) nothing is requested and windows count as shapeable.
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    // `compositorPlaces`: the display is a Wayland compositor's XWayland.
    explicit X11WindowManager(bool compositorPlaces = false) : compositorPlaces_(compositorPlaces) {}

    void activateWindow(NativeWindow windowId) override;
    void minimize(NativeWindow window) override;
    void clearMinimized(NativeWindow window) override;
    void skipTaskbar(NativeWindow window) override;
    bool startMove(NativeWindow window, Point anchor, int button) override;
    bool startResize(NativeWindow window, Point anchor, WindowEdges edges, int button) override;
    bool shapesAvailable() override;
    std::optional<FramedWindow> framedWindow(NativeWindow window) override;
    std::optional<Point> windowOrigin(NativeWindow window) override;
    bool compositorPlacesWindows() const override { return compositorPlaces_; }
    bool placeAfterMap(NativeWindow window, Point origin) override;
    std::string compositorLimits() const override;

private:
    bool compositorPlaces_;
};
