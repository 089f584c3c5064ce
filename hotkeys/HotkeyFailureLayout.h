// Where the hotkey failure dialog's parts go: the designed 292 x 183 layout at 96 pixels per
// inch, scaled with the display and grown downwards when the message needs more lines.
#pragma once

#include "common/Geometry.h"

struct HotkeyFailureLayout {
    Size client;
    Rect frame;
    Rect icon;
    Rect message;
    Rect checkBox;
    Rect ok;
    Rect help;
};

// `scale` is the display's pixels per inch over 96 (at least 1); `messageHeight` the height the
// wrapped message needs at the message's scaled width; `checkBoxWidth` the check box's own width.
HotkeyFailureLayout hotkeyFailureLayout(double scale, int messageHeight, int checkBoxWidth);
