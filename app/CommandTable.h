// The Remote Control's commands and what starts them from the keyboard: its own keys, the keys the
// Capture Frame forwards to it, and the five system-wide hotkeys.
#pragma once

#include "platform/Shortcut.h"

#include <optional>

enum class Command {
    Capture,
    FullScreen, // flips the Full screen button, then runs its action
    Timer,      // flips the Timer button, then runs its action
    Save,
    Print,
    Edit,
    Preferences,
    View,
    About,
    Help,
    MinimizeRestore,
    Menu, // opens the system menu
    Close,
};

// The window that had the keyboard: the Capture Frame forwards all of the Remote Control's keys
// but the Timer's.
enum class KeySource { RemoteControl, CaptureFrame };

// "Ctrl" in the table is Ctrl alone (Shift, Alt or meta also held: nothing); F1 opens help unless
// Ctrl alone is held; Alt+F4 is the close request.
std::optional<Command> commandForKey(int virtualKey, KeyModifiers modifiers, KeySource source);

// The command of hotkey `id` (101 to 105); nothing for another identifier.
std::optional<Command> commandForHotkey(int id);
