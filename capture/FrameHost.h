// What the Capture Frame asks of the window that owns it (the Remote Control).
#pragma once

#include "platform/Shortcut.h"

class FrameHost {
public:
    virtual ~FrameHost() = default;

    // "Update rulers while dragging" and "Show rulers".
    virtual bool updateRulers() const = 0;
    virtual bool showRulers() const = 0;
    // Lets the host repaint at once while the frame is dragged over it.
    virtual void processPendingPaint() = 0;
    // A key pressed while the frame has the keyboard: the host runs the command the key stands for
    // and answers whether there was one (the others stay unhandled).
    virtual bool frameKey(int virtualKey, KeyModifiers modifiers) = 0;
    // The frame's close request: the host decides, the frame never closes on its own.
    virtual void frameCloseRequest() = 0;
};
