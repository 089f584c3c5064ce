// Window-manager requests as EWMH client messages on Qt's xcb connection.
#pragma once

#include "platform/WindowManager.h"

class X11WindowManager : public WindowManager {
public:
    void activateWindow(uint64_t windowId) override;
};
