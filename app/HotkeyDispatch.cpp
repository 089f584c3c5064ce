#include "app/HotkeyDispatch.h"

#include "app/GlobalHotkeys.h"

void comeForward(HotkeyTarget& target)
{
    if (target.minimized()) {
        if (target.trayMinimize()) {
            target.showFromTray();
        } else {
            target.restoreApplication();
        }
    }
    target.bringToFront();
}

void dispatchHotkey(HotkeyTarget& target, int id)
{
    if (target.hotkeysBlocked()) {
        return;
    }
    comeForward(target);
    switch (id) {
    case kHotkeyCapture:
        target.capture();
        break;
    case kHotkeyFullScreen:
        target.fullScreenToggle();
        break;
    case kHotkeyEdit:
        target.edit();
        break;
    case kHotkeySave:
        target.saveAs();
        break;
    case kHotkeyPrint:
        target.print();
        break;
    default:
        break;
    }
}
