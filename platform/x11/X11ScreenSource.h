// The X11 screen for the windows: the xcb screen source, with the screens' available areas taken
// from Qt (which follows the window manager's panels) when a Qt application object exists.
#pragma once

#include "platform/x11/XcbScreenSource.h"

class X11ScreenSource : public XcbScreenSource {
public:
    using XcbScreenSource::XcbScreenSource;

    std::vector<Rect> availableAreas() const override;
};
