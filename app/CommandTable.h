// The Remote Control's commands, one row each: caption, picture, keys (and whether the Capture
// Frame forwards them), system-wide hotkey, whether it needs a capture and whether it is a toggle.
// The window builds one action per row; every way into a command ends in the same entry.
#pragma once

#include "app/RemoteIcon.h"
#include "hotkeys/GlobalHotkeys.h"
#include "platform/Shortcut.h"

#include <cstddef>
#include <optional>
#include <span>

enum class Command {
    Capture,
    FullScreen,
    Timer,
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

// Which modifiers a key needs: "Ctrl" is Ctrl alone (Shift, Alt or meta also held: nothing); F1
// opens help unless Ctrl alone is held.
enum class Chord { None, CtrlAlone, AltAlone, AnyButCtrlAlone };

// The window that had the keyboard: the Capture Frame forwards all of the Remote Control's keys
// but the Timer's.
enum class KeySource { RemoteControl, CaptureFrame };

struct CommandRow {
    Command command;
    const char* caption;        // the button's tooltip before its key ("Save as...")
    const char* menuText;       // in the tray menu (nullptr: not there)
    const char* systemMenuText; // in the system menu (nullptr: not there)
    RemoteIcon picture;         // on its button
    RemoteIcon menuPicture;     // in the menus
    int virtualKey;             // 0: no key
    Chord chord;
    const char* keyText; // the key as the tooltip shows it
    bool forwardedByFrame;
    int hotkeyId;           // 0: no system-wide hotkey
    Shortcut hotkeyDefault; // the hotkey's shortcut until the user chooses another
    bool needsCapture;      // off until the first capture
    bool checkable;         // a toggle button (Full screen, Timer)
};

constexpr size_t commandCount()
{
    return static_cast<size_t>(Command::Close) + 1;
}

// Every command, in the order of the enum.
std::span<const CommandRow> commandRows();
const CommandRow& commandRow(Command command);

std::optional<Command> commandForKey(int virtualKey, KeyModifiers modifiers, KeySource source);

// The command of hotkey `id` (101 to 105); nothing for another identifier.
std::optional<Command> commandForHotkey(int id);

// The five hotkeys' shortcuts until the user chooses others, in identifier order.
HotkeyShortcuts defaultHotkeys();
