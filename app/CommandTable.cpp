#include "app/CommandTable.h"

#include "hotkeys/GlobalHotkeys.h"

#include <iterator>

namespace {

enum class Chord {
    CtrlAlone,
    AltAlone,
    AnyButCtrlAlone,
};

struct KeyBinding {
    int virtualKey;
    Chord chord;
    Command command;
    bool forwardedByFrame;
};

constexpr KeyBinding kKeyBindings[] = {
    {'C', Chord::CtrlAlone, Command::Capture, true},
    {'E', Chord::CtrlAlone, Command::Edit, true},
    {'F', Chord::CtrlAlone, Command::FullScreen, true},
    {'M', Chord::CtrlAlone, Command::Menu, true},
    {'O', Chord::CtrlAlone, Command::Preferences, true},
    {'P', Chord::CtrlAlone, Command::Print, true},
    {'S', Chord::CtrlAlone, Command::Save, true},
    {'T', Chord::CtrlAlone, Command::Timer, false},
    {kVirtualKeyF1, Chord::AnyButCtrlAlone, Command::Help, true},
    {kVirtualKeyF4, Chord::AltAlone, Command::Close, true},
};

// In identifier order from kHotkeyCapture.
constexpr Command kHotkeyCommands[] = {Command::Capture, Command::FullScreen, Command::Edit, Command::Save,
                                       Command::Print};

bool chordHeld(Chord chord, KeyModifiers m)
{
    const bool ctrlAlone = m.ctrl && !m.shift && !m.alt && !m.meta;
    switch (chord) {
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

std::optional<Command> commandForKey(int virtualKey, KeyModifiers modifiers, KeySource source)
{
    for (const KeyBinding& binding : kKeyBindings) {
        if (binding.virtualKey == virtualKey && chordHeld(binding.chord, modifiers) &&
            (source == KeySource::RemoteControl || binding.forwardedByFrame)) {
            return binding.command;
        }
    }
    return std::nullopt;
}

std::optional<Command> commandForHotkey(int id)
{
    const int index = id - kHotkeyCapture;
    if (index < 0 || index >= static_cast<int>(std::size(kHotkeyCommands))) {
        return std::nullopt;
    }
    return kHotkeyCommands[index];
}
