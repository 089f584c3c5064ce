// The Remote Control's keys: which command a key press with its modifiers starts.
#pragma once

#include <Qt>

enum class RemoteKeyCommand {
    None,
    Capture,
    Edit,
    FullScreenToggle,
    SystemMenu,
    Preferences,
    Print,
    Save,
    TimerToggle,
    Help,
    Close,
};

// `modifiers` as Qt reports them; keypad and group-switch flags are ignored.
RemoteKeyCommand remoteKeyCommand(int key, Qt::KeyboardModifiers modifiers);
