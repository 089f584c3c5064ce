// Where the hotkey failure dialog's parts go: the designed 292 x 183 layout at 96 pixels per
// inch, scaled with the display and grown when the message or the check box needs more room.
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

// The designed width of the message at 96 pixels per inch.
constexpr int kHotkeyFailureMessageWidth = 209;

// At the display's `pixelsPerInch`; `messageHeight` is the height the wrapped message needs at the
// message's scaled width, `checkBox` the size the check box's caption needs. The window grows
// downwards for a taller message and to the right for a wider caption.
HotkeyFailureLayout hotkeyFailureLayout(int pixelsPerInch, int messageHeight, Size checkBox);
