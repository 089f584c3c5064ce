// Requests to the desktop's window manager that the toolkit does not make in the way the windows
// need them.
#pragma once

#include "common/Geometry.h"

#include <cstdint>

class WindowManager {
public:
    // The platform's id of a top-level window (QWidget::winId()).
    using WindowId = uint64_t;

    virtual ~WindowManager() = default;

    // Brings the window to the front with the keyboard focus, as a taskbar asks for it, so
    // focus-stealing prevention does not refuse it.
    virtual void activateWindow(WindowId window) = 0;
    // Minimises the window the way the window manager's own button does. Nothing of it outlives
    // the restore, so a window hidden and shown later comes back normal, not minimised.
    virtual void minimize(WindowId window) = 0;
    // Hands the window to the window manager's move loop as if pointer button `button` (1 to 3)
    // had been pressed at `anchor` (screen pixels): the window keeps that point under the pointer.
    // False when no window manager offers it.
    virtual bool startMove(WindowId window, Point anchor, int button) = 0;
    // Keeps the window out of the taskbar and pagers; call before the window is mapped.
    virtual void skipTaskbar(WindowId window) = 0;
    // False when the display cannot shape windows, so no window can have holes or a round outline.
    virtual bool canShapeWindows() = 0;
};
