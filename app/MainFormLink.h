// Connects the Remote Control to the real Capture Frame window.
#pragma once

#include "app/CaptureFrameLink.h"
#include "capture/MainUnit.h"

class MainFormLink : public CaptureFrameLink {
public:
    explicit MainFormLink(TMainForm& frame) : frame_(frame) {}

    Rect captureRect() const override { return frame_.CaptureRect(); }
    bool isShown() const override { return frame_.isVisible(); }
    void setShown(bool shown) override { frame_.setVisible(shown); }

private:
    TMainForm& frame_;
};
