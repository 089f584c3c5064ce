#include "hotkeys/HotkeyDispatch.h"

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
    if (const std::optional<Command> command = commandForHotkey(id)) {
        target.runCommand(*command);
    }
}
