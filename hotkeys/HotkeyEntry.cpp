#include "hotkeys/HotkeyEntry.h"

namespace {

// Shift, Ctrl, Alt (also their left and right forms) and the Windows keys.
bool isModifierKey(int virtualKey)
{
    return (virtualKey >= 0x10 && virtualKey <= 0x12) || (virtualKey >= 0xA0 && virtualKey <= 0xA5) ||
           virtualKey == 0x5B || virtualKey == 0x5C;
}

} // namespace

std::optional<Shortcut> acceptedHotkey(int virtualKey, KeyModifiers modifiers)
{
    if (virtualKey <= 0 || virtualKey > kShortcutKeyMask || isModifierKey(virtualKey)) {
        return std::nullopt;
    }
    if (!modifiers.ctrl && !modifiers.alt) {
        return std::nullopt;
    }
    return static_cast<Shortcut>(virtualKey | (modifiers.shift ? kShortcutShift : 0) |
                                 (modifiers.ctrl ? kShortcutCtrl : 0) | (modifiers.alt ? kShortcutAlt : 0));
}
