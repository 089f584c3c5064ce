// The Preferences window's page pictures: strips of 48 x 48 frames drawn in code.
#pragma once

#include <QPixmap>

// A gear that turns through one tooth over nine frames, ending where it began (frame 8 rests).
QPixmap optionsPictureStrip();
// A keyboard key that goes down and lights up over eleven frames, resting up (frame 10).
QPixmap hotkeysPictureStrip();

inline constexpr int kOptionsPictureFrames = 9;
inline constexpr int kHotkeysPictureFrames = 11;
