// What the Remote Control needs of the Capture Frame, so that it can be driven without the window.
#pragma once

#include "common/Geometry.h"

#include <optional>

class CaptureFrameLink {
public:
    virtual ~CaptureFrameLink() = default;

    // The hole in screen pixels: the area a frame capture copies.
    virtual Rect captureRect() const = 0;
    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;
    // The unit whose menu item is ticked (0 pixels, 1 inches, 2 centimetres), if any.
    virtual std::optional<int> unit() const { return std::nullopt; }
    // Runs the unit's menu item: the frame takes the unit and repaints.
    virtual void chooseUnit(int unit) { (void)unit; }
    // Takes the host's "Update rulers while dragging" into the frame's mouse handling.
    virtual void applyDragOption() {}
};
