// Window-manager requests as EWMH client messages and properties on Qt's xcb connection. Without
// an X11 connection (offscreen tests) nothing is requested and windows count as shapeable.
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    void activateWindow(NativeWindow windowId) override;
    void minimize(NativeWindow window) override;
    void clearMinimized(NativeWindow window) override;
    void skipTaskbar(NativeWindow window) override;
    bool startMove(NativeWindow window, Point anchor, int button) override;
    bool shapesAvailable() override;
    std::optional<FramedWindow> framedWindow(NativeWindow window) override;
    std::optional<Point> windowOrigin(NativeWindow window) override;
};
