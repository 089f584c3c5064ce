// The names of the Remote Control's pictures (drawn by app/ui/ButtonIcons), so the command table
// can say which picture a command shows without drawing anything.
#pragma once

enum class RemoteIcon {
    None,
    Menu,
    Close,
    Capture,
    FullScreen,
    Timer,
    Save,
    Print,
    Edit,
    Preferences,
    Minimize,
    Restore,
    About,
    Help,
    Exit,
};
