// The editor view's scroll position: the image shown one to one in a paint area, dragged with the
// Scroll tool, clamped when the area changes size; and how one paint covers the area.
#pragma once

#include "common/Geometry.h"

#include <array>

// One repaint: the visible block of the image copied to the area's origin, then at most two
// background fills beside and below the image.
struct ViewPaintPlan {
    Rect source;
    std::array<Rect, 2> fills{};
    int fillCount = 0;
};

class ScrollView {
public:
    Point offset() const { return offset_; }
    Size area() const { return area_; }
    bool scrolling() const { return scrolling_; }

    void setImageSize(Size image) { image_ = image; }
    // A new paint area size clamps the offsets so that nothing beyond the image shows within its extent.
    void setAreaSize(Size area);
    void reset() { offset_ = {}; }

    // The image fits into the paint area in both directions: nothing to scroll.
    bool imageFits() const { return image_.width <= area_.width && image_.height <= area_.height; }
    bool overImage(Point pointer) const { return pointer.x < image_.width && pointer.y < image_.height; }

    // A press starts a drag when it lies on the image and the image does not fit; true then.
    bool press(Point pointer);
    // While dragging, the grabbed image point follows the pointer within the image's range.
    void drag(Point pointer);
    void release(Point pointer);

    ViewPaintPlan paintPlan() const;

private:
    Size image_;
    Size area_;
    Point offset_;
    Point anchor_;
    bool scrolling_ = false;
};
