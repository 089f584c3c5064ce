// The Save As window's placement and background colour in the "Save" section of the settings
// file.
#pragma once

#include "common/Color.h"
#include "common/Geometry.h"

#include <optional>
#include <string>

class SettingsFile;

struct SaveWindowPlacement {
    int left = 0;
    int top = 0;
    int width = 690;
    int height = 526;
    ColorRef background = kDefaultBackground;
};

// Each key falls back to its own default; "Left" and "Top" to `defaultTopLeft`.
SaveWindowPlacement readSavePlacement(const SettingsFile& file, Point defaultTopLeft);
// Writes "Top", "Left", "Width", "Height" and "Background" (a decimal 0x00BBGGRR value).
void writeSavePlacement(SettingsFile& file, const SaveWindowPlacement& placement);
