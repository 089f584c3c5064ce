// The X11 details of the Capture Frame's window that Qt does not offer.
#pragma once

#include <QWindow>

// Keeps the window out of the taskbar and pagers; call before the window is mapped.
void markSkipTaskbar(WId window);
// Hands the window to the window manager's move loop as if the pointer button `button` (1 to 3)
// had been pressed at `anchor` (screen pixels): the window keeps that point under the pointer.
// False when there is no window manager that offers it.
bool startWindowManagerMove(WId window, QPoint anchor, int button);
// False when the display cannot shape windows, so the frame's hole cannot be cut.
bool windowShapesAvailable();
