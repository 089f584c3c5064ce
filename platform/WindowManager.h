// Requests to the desktop's window manager.
#pragma once

#include <cstdint>

class WindowManager {
public:
    virtual ~WindowManager() = default;

    // Brings the top-level window `windowId` (the platform's window id) to the front with the
    // keyboard focus, as a taskbar asks for it, so focus-stealing prevention does not refuse it.
    virtual void activateWindow(uint64_t windowId) = 0;
};
