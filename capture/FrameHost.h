// What the Capture Frame asks of the window that owns it (the Remote Control).
#pragma once

// Commands the frame forwards from its keys and its close request.
enum class FrameCommand { Capture, Edit, FullScreen, Menu, Preferences, Print, Save, Help, Close };

class FrameHost {
public:
    virtual ~FrameHost() = default;

    // "Update rulers while dragging" and "Show rulers".
    virtual bool updateRulers() const = 0;
    virtual bool showRulers() const = 0;
    // Lets the host repaint at once while the frame is dragged over it.
    virtual void processPendingPaint() = 0;
    virtual void frameCommand(FrameCommand command) = 0;
};
