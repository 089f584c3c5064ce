#include "editor/ScrollView.h"

#include <algorithm>

namespace {

// An offset past the end shows area outside the image: it moves back so the image's end meets the
// area's end, and never below 0.
int clampedAfterResize(int offset, int image, int area)
{
    if (offset > 0 && image - offset < area) {
        offset = image - area;
    }
    return std::max(offset, 0);
}

} // namespace

void ScrollView::setAreaSize(Size area)
{
    area_ = area;
    offset_.x = clampedAfterResize(offset_.x, image_.width, area_.width);
    offset_.y = clampedAfterResize(offset_.y, image_.height, area_.height);
}

bool ScrollView::press(Point pointer)
{
    if (!overImage(pointer) || imageFits()) {
        return false;
    }
    scrolling_ = true;
    anchor_ = {pointer.x + offset_.x, pointer.y + offset_.y};
    return true;
}

void ScrollView::drag(Point pointer)
{
    if (image_.width > area_.width) {
        offset_.x = std::clamp(anchor_.x - pointer.x, 0, image_.width - area_.width);
    }
    if (image_.height > area_.height) {
        offset_.y = std::clamp(anchor_.y - pointer.y, 0, image_.height - area_.height);
    }
}

void ScrollView::release(Point pointer)
{
    scrolling_ = false;
    drag(pointer);
}

ViewPaintPlan ScrollView::paintPlan() const
{
    ViewPaintPlan plan;
    plan.source = Rect::fromSize(offset_.x, offset_.y, area_.width, area_.height);
    if (image_.width < area_.width) {
        plan.fills[plan.fillCount++] = {image_.width, 0, area_.width, area_.height};
    }
    if (image_.height < area_.height) {
        plan.fills[plan.fillCount++] = {0, image_.height, area_.width, area_.height};
    }
    return plan;
}
