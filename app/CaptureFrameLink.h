// What the Remote Control needs of the Capture Frame, so that it can be driven without the window.
#pragma once

#include "common/Geometry.h"

class CaptureFrameLink {
public:
    virtual ~CaptureFrameLink() = default;

    // The hole in screen pixels: the area a frame capture copies.
    virtual Rect captureRect() const = 0;
    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;
};
