// A keyboard shortcut as stored in the settings and registered as a hotkey.
#pragma once

#include <cstdint>

// Virtual-key code in bits 0-12, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using Shortcut = uint16_t;
