// Registration of the five system-wide hotkeys, provided by the hotkeys part of the program.
#pragma once

#include "app/RemoteControlSettings.h"

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
