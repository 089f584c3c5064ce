#include "app/MinimizeRestore.h"

MinimizeRestore::MinimizeRestore(MinimizeHost& host, bool& minimized, bool& frameWasVisible)
    : host_(host), minimized_(minimized), frameWasVisible_(frameWasVisible)
{
}

void MinimizeRestore::command()
{
    if (minimized_) {
        restore();
    } else {
        host_.minimizeWindow();
    }
}

void MinimizeRestore::restore()
{
    if (!minimized_) {
        return;
    }
    if (leftTaskbar_) {
        // A window taken off the desktop sends no restore of its own.
        leftTaskbar_ = false;
        host_.returnFromTray();
        restoreNotified();
        return;
    }
    host_.restoreWindow();
}

void MinimizeRestore::minimizeNotified(bool trayMinimize, bool modalWindowOpen)
{
    if (minimized_) {
        return;
    }
    if (modalWindowOpen) {
        host_.restoreWindow();
        return;
    }
    if (trayMinimize) {
        leftTaskbar_ = true;
        host_.leaveTaskbar();
    }
    frameWasVisible_ = host_.frameShown();
    host_.showFrame(false);
    minimized_ = true;
}

void MinimizeRestore::restoreNotified()
{
    if (!minimized_) {
        return;
    }
    minimized_ = false;
    host_.showFrame(frameWasVisible_);
}

void MinimizeRestore::trayLost()
{
    if (leftTaskbar_) {
        restore();
    }
}

bool MinimizeRestore::frameVisible() const
{
    return minimized_ ? frameWasVisible_ : host_.frameShown();
}

void MinimizeRestore::setFrameVisible(bool visible)
{
    if (minimized_) {
        frameWasVisible_ = visible;
    } else {
        host_.showFrame(visible);
    }
}
