// A desktop's scale factors for Qt (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS, as desktops set them
// for a user who chose 150 %) taken as the pixels per inch they stand for, so that Qt never turns
// them into device-pixel scaling: one logical pixel must stay one screen pixel.
#pragma once

#include <optional>
#include <string_view>

// The pixels per inch that the two variables stand for: 96 times QT_SCALE_FACTOR times the first
// per-screen factor ("1.5", "1.5;1", or by name "DP-1=1.5;HDMI-1=1"). Nothing when neither sets a
// usable factor (missing, empty, unreadable, or not positive).
std::optional<int> densityOfScaleFactors(std::string_view scaleFactor, std::string_view screenScaleFactors);

// Before the application object exists: removes both variables from the environment and, when they
// asked for a density and the user set no QT_FONT_DPI, sets QT_FONT_DPI to it.
void turnScaleFactorsIntoDensity();
