// Requests to sway, the Wayland compositor, through its IPC socket ($SWAYSOCK): the only way to
// place a mapped X11 window there, since sway centres every floating window that asks itself.
#pragma once

#include "common/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>

// Runs `command` (sway's command language, e.g. "[id=4194310] move left 10 px"); true when sway
// ran it. False without a sway session or when sway refused it.
bool runSwayCommand(const std::string& command);

// Where sway shows the content of the X11 window `window` (its top-left pixel, decorations left
// out); nothing while sway has not mapped it as a window of its own.
struct SwayWindowPlace {
    bool swayAnswered = false; // false: no sway session to ask
    std::optional<Point> content;
};
SwayWindowPlace swayWindowPlace(uint64_t window);
