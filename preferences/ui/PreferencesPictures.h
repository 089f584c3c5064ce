// The Preferences window's page pictures: strips of square frames drawn in code, 48 pixels a side
// at 96 dots per inch and drawn afresh at the side asked for, so that they stay sharp on any screen.
#pragma once

#include <QPixmap>

// A gear that turns through one tooth over nine frames, ending where it began (frame 8 rests).
QPixmap optionsPictureStrip(int side);
// A keyboard key that goes down and lights up over eleven frames, resting up (frame 10).
QPixmap hotkeysPictureStrip(int side);

inline constexpr int kOptionsPictureFrames = 9;
inline constexpr int kHotkeysPictureFrames = 11;
