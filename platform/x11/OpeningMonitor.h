// Where the windows that the Remote Control opens go: onto the monitor that it is on.
#pragma once

#include "common/Geometry.h"

class QWidget;
class ScreenSource;

// The bounds of the monitor showing most of `owner` (the primary monitor without an owner).
Rect openingMonitor(const ScreenSource& screen, const QWidget* owner);
