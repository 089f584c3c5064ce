// The X11 screen for the windows: the xcb screen source, with the monitors and their available
// areas taken from Qt (its screens are the RandR monitors, and it follows the window manager's
// panels) when a Qt application object exists.
#pragma once

#include "platform/x11/XcbScreenSource.h"

class X11ScreenSource : public XcbScreenSource {
public:
    using XcbScreenSource::XcbScreenSource;

    std::vector<Monitor> monitors() const override;
};
