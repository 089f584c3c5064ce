// The text of a shortcut as messages and the Preferences window show it ("Shift+Ctrl+C").
#pragma once

#include "platform/Shortcut.h"

#include <functional>
#include <string>

// The platform's name for a virtual key that has no fixed name here; "" when it has none.
using KeyNameLookup = std::function<std::string(int virtualKey)>;

// Modifier words in the order "Shift+", "Ctrl+", "Alt+", then the key's name; empty as a whole
// when the key has no name.
std::string shortcutText(Shortcut shortcut, const KeyNameLookup& platformKeyName);
