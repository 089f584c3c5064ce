// What a hotkey field accepts: a key with Ctrl or Alt (Shift may be added), never a key alone or
// with Shift alone, and never a modifier key by itself.
#pragma once

#include "platform/Shortcut.h"

#include <optional>

// The shortcut for `virtualKey` pressed with `modifiers` (meta plays no part); nothing when the
// field must refuse it.
std::optional<Shortcut> acceptedHotkey(int virtualKey, KeyModifiers modifiers);
