// A window's placement and background colour in one section of the settings file, and its size
// scaled to the screen's pixels per inch.
#pragma once

#include "common/Color.h"
#include "common/Geometry.h"

#include <optional>
#include <string>
#include <string_view>

class SettingsFile;

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    ColorRef background = kDefaultBackground;
};

// "Left", "Top", "Width", "Height" and "Background" of `section`; each key that is missing or does
// not read falls back to its value in `defaults`.
WindowPlacement readWindowPlacement(const SettingsFile& file, std::string_view section,
                                    const WindowPlacement& defaults);
// Writes the five keys; the background as a decimal 0x00BBGGRR value.
void writeWindowPlacement(SettingsFile& file, std::string_view section, const WindowPlacement& placement);

// A stored background: a colour value 0 .. 0xFFFFFF; anything else gives nothing.
std::optional<ColorRef> parseBackground(const std::string& text);

// A size designed at 96 pixels per inch on a screen of `pixelsPerInch`, rounded half to even.
Size scaledToScreen(Size designed, int pixelsPerInch);
