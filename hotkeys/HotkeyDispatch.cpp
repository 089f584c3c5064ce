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
    if (const std::optional<Command> command = commandForHotkey(id)) {
        dispatchCommand(target, *command);
    } else if (!target.hotkeysBlocked()) {
        comeForward(target);
    }
}

void dispatchCommand(HotkeyTarget& target, Command command)
{
    if (target.hotkeysBlocked()) {
        return;
    }
    comeForward(target);
    target.runCommand(command);
}
