// Connects the Remote Control to the real Capture Frame window.
#pragma once

#include "app/CaptureFrameLink.h"
#include "capture/ui/CaptureFrameWindow.h"

class CaptureFrameWindowLink : public CaptureFrameLink {
public:
    explicit CaptureFrameWindowLink(CaptureFrameWindow& frame) : frame_(frame) {}

    Rect captureRect() const override { return frame_.captureRect(); }
    bool isShown() const override { return frame_.isVisible(); }
    void setShown(bool shown) override { frame_.setVisible(shown); }

private:
    CaptureFrameWindow& frame_;
};
