// A command to sway, the Wayland compositor, through its IPC socket ($SWAYSOCK): the only way to
// place a mapped X11 window there, since sway centres every floating window that asks itself.
#pragma once

#include <string>

// Runs `command` (sway's command language, e.g. "[id=4194310] move left 10 px"); true when sway
// ran it. False without a sway session or when sway refused it.
bool runSwayCommand(const std::string& command);
