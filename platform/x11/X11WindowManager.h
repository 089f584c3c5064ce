// The window-manager requests on an X11 desktop, sent on Qt's own xcb connection (EWMH and ICCCM
// client messages to the root window).
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    void minimize(WindowId window) override;
    bool startMove(WindowId window, Point anchor, int button) override;
    void skipTaskbar(WindowId window) override;
    bool canShapeWindows() override;
};
