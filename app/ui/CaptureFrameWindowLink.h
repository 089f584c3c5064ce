// Connects the Remote Control to the real Capture Frame window.
#pragma once

#include "app/CaptureFrameLink.h"
#include "capture/ui/CaptureFrameWindow.h"

#include <optional>

class CaptureFrameWindowLink : public CaptureFrameLink {
public:
    explicit CaptureFrameWindowLink(CaptureFrameWindow& frame) : frame_(frame) {}

    Rect captureRect() const override { return frame_.captureRect(); }
    bool isShown() const override { return frame_.isVisible(); }
    void setShown(bool shown) override { frame_.setVisible(shown); }
    std::optional<int> unit() const override
    {
        const std::optional<MeasureUnit> marked = frame_.markedUnit();
        return marked ? std::optional(static_cast<int>(*marked)) : std::nullopt;
    }
    void chooseUnit(int unit) override { frame_.setUnits(static_cast<MeasureUnit>(unit)); }
    void applyDragOption() override { frame_.applyDragOption(); }

private:
    CaptureFrameWindow& frame_;
};
