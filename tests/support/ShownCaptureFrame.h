// A Capture Frame stand-in for Remote Control window tests: a fixed hole, shown until hidden.
#pragma once

#include "app/CaptureFrameLink.h"

class ShownCaptureFrame : public CaptureFrameLink {
public:
    Rect captureRect() const override { return Rect::fromSize(10, 10, 20, 20); }
    bool isShown() const override { return shown; }
    void setShown(bool s) override { shown = s; }
    bool shown = true;
};
