// Window-manager requests on an X11 desktop: EWMH and ICCCM client messages and properties on Qt's
// own xcb connection.
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    void activateWindow(WindowId window) override;
    void minimize(WindowId window) override;
    bool startMove(WindowId window, Point anchor, int button) override;
    void skipTaskbar(WindowId window) override;
    bool canShapeWindows() override;
};
