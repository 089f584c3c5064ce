// The window-manager requests on X11, through Qt's own xcb connection. Without an X11 connection
// (offscreen tests) nothing is requested and windows count as shapeable.
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    void skipTaskbar(NativeWindow window) override;
    bool startMove(NativeWindow window, Point anchor, int button) override;
    bool shapesAvailable() override;
};
