// Registration of the five system-wide hotkeys, as the desktop grants them.
#pragma once

#include "platform/Shortcut.h"

#include <array>
#include <string>
#include <vector>

class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;

    // Registers the hotkeys in identifier order (101 Capture ... 105 Print); returns the
    // shortcuts that the desktop refused.
    virtual std::vector<Shortcut> registerAll(const std::array<Shortcut, 5>& shortcuts) = 0;
    // Releases identifiers 101 to 105; releasing one never registered is harmless.
    virtual void unregisterAll() = 0;
};
