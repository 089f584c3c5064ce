#include "hotkeys/HotkeyFailureLayout.h"

#include <algorithm>
#include <cmath>

HotkeyFailureLayout hotkeyFailureLayout(double scale, int messageHeight, int checkBoxWidth)
{
    scale = std::max(scale, 1.0);
    const auto s = [scale](int pixels) { return static_cast<int>(std::lround(pixels * scale)); };
    const int grow = std::max(0, messageHeight - s(105));
    HotkeyFailureLayout layout;
    layout.client = {s(292), s(183) + grow};
    layout.frame = Rect::fromSize(s(8), s(8), s(276), s(129) + grow);
    layout.icon = Rect::fromSize(s(20), s(20), s(32), s(32));
    layout.message = Rect::fromSize(s(64), s(20), s(209), s(105) + grow);
    layout.checkBox = Rect::fromSize(s(8), s(152) + grow, std::min(checkBoxWidth, s(116)), s(17));
    layout.ok = Rect::fromSize(s(128), s(148) + grow, s(75), s(25));
    layout.help = Rect::fromSize(s(208), s(148) + grow, s(75), s(25));
    return layout;
}
