// Virtual-key codes of stored shortcuts translated to X keysyms and modifier masks. Plain
// arithmetic on keysym numbers: which key code carries a keysym is the keyboard map's business.
#pragma once

#include "platform/Shortcut.h"

#include <cstdint>
#include <optional>

// The keysym a virtual key stands for (letters as their lower-case keysyms, the keypad as
// KP_ keysyms); 0 when there is none.
uint32_t keysymForVirtualKey(int virtualKey);

// The keysym that layouts other than US put on the key of an OEM virtual key (the German ß, ö, ä
// and ü); 0 when there is none.
uint32_t layoutKeysymForVirtualKey(int virtualKey);

// The modifier bits that the keyboard's modifier mapping assigns to Alt and NumLock.
struct ModifierBits {
    uint16_t alt = 0x08;     // Mod1 on common maps
    uint16_t numLock = 0x10; // Mod2 on common maps; 0 without a NumLock key
};

struct KeyChord {
    uint32_t keysym = 0;
    uint16_t modifiers = 0;
};

// The keysym and X modifier mask of a shortcut; nothing when its key has no keysym.
std::optional<KeyChord> keyChordFor(Shortcut shortcut, const ModifierBits& bits);

// The lock states a grab must cover so that the chord works whatever locks are on: none,
// CapsLock, NumLock and both (two when there is no NumLock modifier).
int lockVariants(const ModifierBits& bits, uint16_t (&variants)[4]);
