// A Qt key press as a virtual-key code and its modifiers: the terms of stored shortcuts and of
// the command table, so every window reads keys the same way.
#pragma once

#include "platform/Shortcut.h"

class QKeyEvent;

struct KeyPress {
    int virtualKey = 0; // 0 for a key that has no virtual-key code here
    KeyModifiers modifiers;
};

KeyPress keyPressOf(const QKeyEvent& event);

// The virtual-key code of a Qt key (`keypad`: pressed on the numeric keypad); 0 when there is none.
int virtualKeyOf(int qtKey, bool keypad);
