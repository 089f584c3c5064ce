// A keyboard shortcut as the settings store it: a virtual-key code with modifier bits.
#pragma once

#include <cstdint>

// Virtual-key code in bits 0-12, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using Shortcut = uint16_t;

inline constexpr Shortcut kShortcutShift = 0x2000;
inline constexpr Shortcut kShortcutCtrl = 0x4000;
inline constexpr Shortcut kShortcutAlt = 0x8000;
inline constexpr Shortcut kShortcutKeyMask = 0x1FFF;

// Virtual-key codes: letters and digits are their upper-case ASCII codes; F1 to F24 follow on
// from kVirtualKeyF1.
inline constexpr int kVirtualKeyF1 = 0x70;
inline constexpr int kVirtualKeyF4 = kVirtualKeyF1 + 3;
inline constexpr int kVirtualKeyF24 = kVirtualKeyF1 + 23;

// The modifier keys held with a key press (the Windows keys count as meta).
struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;
};

constexpr int shortcutKey(Shortcut shortcut)
{
    return shortcut & kShortcutKeyMask;
}
