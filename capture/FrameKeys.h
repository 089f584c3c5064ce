// The keys the Capture Frame forwards to the Remote Control, as a plain table.
#pragma once

#include "capture/FrameHost.h"

#include <optional>

// Virtual-key codes as in stored shortcuts: letters are their upper-case ASCII codes.
constexpr int kVirtualKeyF1 = 0x70;
constexpr int kVirtualKeyF4 = 0x73;

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;
};

// Ctrl+C, E, F, M, O, P, S with Ctrl alone; F1 unless Ctrl alone is held; Alt+F4 closes.
std::optional<FrameCommand> frameCommandForKey(int virtualKey, KeyModifiers modifiers);
