// What a hotkey press does to the Remote Control: it comes back if minimised, takes the keyboard
// focus in front of the other windows, then runs the hotkey's command.
#pragma once

#include "app/CommandTable.h"

class HotkeyTarget {
public:
    virtual ~HotkeyTarget() = default;

    // While a modal window is open the hotkeys are off, and a capture in progress is never joined
    // by another: a press already on its way is dropped.
    virtual bool hotkeysBlocked() const = 0;
    virtual bool minimized() const = 0;
    // Minimising leaves only the tray icon.
    virtual bool trayMinimize() const = 0;
    // Back from the tray: the Capture Frame gets its remembered visibility, the Remote Control
    // shows and is no longer minimised.
    virtual void showFromTray() = 0;
    // The desktop's own restore of the minimised application.
    virtual void restoreApplication() = 0;
    virtual void bringToFront() = 0;

    // Edit, Save and Print do nothing while their buttons are disabled.
    virtual void runCommand(Command command) = 0;
};

// Back from minimised (or the tray) and in front with the keyboard focus: the first step of a
// hotkey press, and what a second start of the program asks of the running one.
void comeForward(HotkeyTarget& target);
void dispatchHotkey(HotkeyTarget& target, int id);
// A command asked from outside (a hotkey, an action sent by a later start), under the hotkeys' rules.
void dispatchCommand(HotkeyTarget& target, Command command);
