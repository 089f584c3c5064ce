#include "hotkeys/HotkeyFailureLayout.h"

#include "common/DesignLength.h"

#include <algorithm>

HotkeyFailureLayout hotkeyFailureLayout(int pixelsPerInch, int messageHeight, Size checkBox)
{
    const auto s = [pixelsPerInch](int pixels) { return scaledDesignLength(pixels, pixelsPerInch); };
    const int grow = std::max(0, messageHeight - s(105));
    // The buttons keep their gap after the check box's caption.
    const int widen = std::max(0, s(8) + checkBox.width + s(4) - s(128));
    HotkeyFailureLayout layout;
    layout.client = {s(292) + widen, s(183) + grow};
    layout.frame = Rect::fromSize(s(8), s(8), s(276) + widen, s(129) + grow);
    layout.icon = Rect::fromSize(s(20), s(20), s(32), s(32));
    layout.message = Rect::fromSize(s(64), s(20), s(kHotkeyFailureMessageWidth), s(105) + grow);
    layout.ok = Rect::fromSize(s(128) + widen, s(148) + grow, s(75), s(25));
    layout.help = Rect::fromSize(s(208) + widen, s(148) + grow, s(75), s(25));
    // Centred on the buttons' row.
    const int boxHeight = std::max(s(17), checkBox.height);
    layout.checkBox = Rect::fromSize(s(8), layout.ok.top + (layout.ok.height() - boxHeight) / 2,
                                     std::max(s(116), checkBox.width), boxHeight);
    return layout;
}
