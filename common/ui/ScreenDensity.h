// The density a window lays itself out at; its 96-dpi design lengths scale by common/DesignLength.h.
#pragma once

#include "common/DesignLength.h"

// The density a window lays itself out at: `given` when it names one (the platform's, so that
// tests can ask for 120 or 144), else the primary screen's logical dots per inch (96 without one).
int layoutPixelsPerInch(int given);
