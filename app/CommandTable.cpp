#include "app/CommandTable.h"

#include <array>

namespace {

// clang-format off
constexpr std::array kCommands{
    //          command                  caption           tray menu          system menu picture      menu picture                          key             chord                   key text  frame  hotkey             default needs  toggle
    CommandRow{Command::Capture,         "Capture",        "Capture",         nullptr,    RemoteIcon::Capture, RemoteIcon::Capture,     'C',            Chord::CtrlAlone,       "Ctrl+C", true,  kHotkeyCapture,    0x6043, false, false},
    CommandRow{Command::FullScreen,      "Full screen",    nullptr,           nullptr,    RemoteIcon::FullScreen, RemoteIcon::FullScreen,  'F',            Chord::CtrlAlone,       "Ctrl+F", true,  kHotkeyFullScreen, 0x6046, false, true},
    CommandRow{Command::Timer,           "Timer",          nullptr,           nullptr,    RemoteIcon::Timer, RemoteIcon::Timer,       'T',            Chord::CtrlAlone,       "Ctrl+T", false, 0,                 0,      false, true},
    CommandRow{Command::Save,            "Save as...",     "Save As...",      nullptr,    RemoteIcon::Save, RemoteIcon::Save,        'S',            Chord::CtrlAlone,       "Ctrl+S", true,  kHotkeySave,       0x6053, true,  false},
    CommandRow{Command::Print,           "Print...",       "Print...",        nullptr,    RemoteIcon::Print, RemoteIcon::Print,       'P',            Chord::CtrlAlone,       "Ctrl+P", true,  kHotkeyPrint,      0x6050, true,  false},
    CommandRow{Command::Edit,            "Edit...",        "Edit...",         nullptr,    RemoteIcon::Edit, RemoteIcon::Edit,        'E',            Chord::CtrlAlone,       "Ctrl+E", true,  kHotkeyEdit,       0x6045, true,  false},
    CommandRow{Command::Preferences,     "Preferences...", "Preferences...",  nullptr,    RemoteIcon::Preferences, RemoteIcon::Preferences, 'O',            Chord::CtrlAlone,       "Ctrl+O", true,  0,                 0,      false, false},
    CommandRow{Command::View,            "Double-click to view", nullptr,     nullptr,    RemoteIcon::None, RemoteIcon::None,        0,              Chord::None,            nullptr,  false, 0,                 0,      false, false},
    CommandRow{Command::About,           "About",          "About....",       "About",    RemoteIcon::About, RemoteIcon::About,       0,              Chord::None,            nullptr,  false, 0,                 0,      false, false},
    CommandRow{Command::Help,            "Help",           "Help",            "Help",     RemoteIcon::Help, RemoteIcon::Help,        kVirtualKeyF1,  Chord::AnyButCtrlAlone, "F1",     true,  0,                 0,      false, false},
    CommandRow{Command::MinimizeRestore, "Minimize",       "Minimize",        "Minimize", RemoteIcon::Minimize, RemoteIcon::Minimize,    0,              Chord::None,            nullptr,  false, 0,                 0,      false, false},
    CommandRow{Command::Menu,            "Menu",           nullptr,           nullptr,    RemoteIcon::Menu, RemoteIcon::Menu,        'M',            Chord::CtrlAlone,       "Ctrl+M", true,  0,                 0,      false, false},
    CommandRow{Command::Close,           "Close",          "Exit",            "Exit",     RemoteIcon::Close, RemoteIcon::Exit,       kVirtualKeyF4,  Chord::AltAlone,        "Alt+F4", true,  0,                 0,      false, false},
};
// clang-format on

constexpr bool rowsInEnumOrder()
{
    for (size_t i = 0; i < kCommands.size(); ++i) {
        if (static_cast<size_t>(kCommands[i].command) != i) {
            return false;
        }
    }
    return kCommands.size() == commandCount();
}
static_assert(rowsInEnumOrder(), "commandRow() looks a command up by its position");

bool chordHeld(Chord chord, KeyModifiers m)
{
    const bool ctrlAlone = m.ctrl && !m.shift && !m.alt && !m.meta;
    switch (chord) {
    case Chord::None:
        return false;
    case Chord::CtrlAlone:
        return ctrlAlone;
    case Chord::AltAlone:
        return m.alt && !m.shift && !m.ctrl && !m.meta;
    case Chord::AnyButCtrlAlone:
        return !ctrlAlone;
    }
    return false;
}

} // namespace

std::span<const CommandRow> commandRows()
{
    return kCommands;
}

const CommandRow& commandRow(Command command)
{
    return kCommands[static_cast<size_t>(command)];
}

std::optional<Command> commandForKey(int virtualKey, KeyModifiers modifiers, KeySource source)
{
    for (const CommandRow& row : kCommands) {
        if (row.virtualKey != 0 && row.virtualKey == virtualKey && chordHeld(row.chord, modifiers) &&
            (source == KeySource::RemoteControl || row.forwardedByFrame)) {
            return row.command;
        }
    }
    return std::nullopt;
}

std::optional<Command> commandForHotkey(int id)
{
    for (const CommandRow& row : kCommands) {
        if (row.hotkeyId != 0 && row.hotkeyId == id) {
            return row.command;
        }
    }
    return std::nullopt;
}

HotkeyShortcuts defaultHotkeys()
{
    HotkeyShortcuts shortcuts{};
    for (const CommandRow& row : kCommands) {
        if (row.hotkeyId != 0) {
            shortcuts[hotkeySlot(row.hotkeyId)] = row.hotkeyDefault;
        }
    }
    return shortcuts;
}
