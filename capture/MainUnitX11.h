// The X11 details of the Capture Frame's window that Qt does not offer.
#pragma once

#include <QWindow>

// Keeps the window out of the taskbar and pagers; call before the window is mapped.
void markSkipTaskbar(WId window);
// False when the display cannot shape windows, so the frame's hole cannot be cut.
bool windowShapesAvailable();
