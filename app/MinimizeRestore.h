// Minimising the application and bringing it back: the Capture Frame is hidden meanwhile and gets
// its visibility back, and with minimising to the tray the Remote Control leaves the taskbar.
#pragma once

// What minimising needs from the Remote Control and the desktop.
class MinimizeHost {
public:
    virtual ~MinimizeHost() = default;

    virtual bool frameShown() const = 0;
    virtual void showFrame(bool shown) = 0;
    // Asks the window manager to minimise the Remote Control, or to restore it from minimised;
    // the notification follows when it has done so.
    virtual void minimizeWindow() = 0;
    virtual void restoreWindow() = 0;
    // Takes the minimised Remote Control off the desktop and its taskbar altogether; and puts it
    // back, shown normally.
    virtual void leaveTaskbar() = 0;
    virtual void returnFromTray() = 0;
};

class MinimizeRestore {
public:
    // `minimized` and `frameWasVisible` are the application's own fields, which others read.
    MinimizeRestore(MinimizeHost& host, bool& minimized, bool& frameWasVisible);

    // The Minimise/Restore command.
    void command();
    // Brings a minimised application back (the command's second half, and the hotkeys' first
    // step); nothing when it is not minimised.
    void restore();

    // The window became minimised, however that came about. `modalWindowOpen`: a window that
    // must be answered is open; it is minimised with its owner and, with the tray menu off, could
    // not be reached again, so the Remote Control is restored at once instead.
    void minimizeNotified(bool trayMinimize, bool modalWindowOpen);
    // The window is no longer minimised.
    void restoreNotified();
    // The tray went away: an application minimised to it could no longer be reached, so it
    // comes back as a restore from the tray would bring it.
    void trayLost();

    // The Capture Frame's visibility as the rest of the application sees it: while minimised, a
    // change is kept for the restore instead of showing the frame over a minimised application.
    bool frameVisible() const;
    void setFrameVisible(bool visible);

    bool leftTaskbar() const { return leftTaskbar_; }

private:
    MinimizeHost& host_;
    bool& minimized_;
    bool& frameWasVisible_;
    bool leftTaskbar_ = false;
};
