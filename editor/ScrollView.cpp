#include "editor/ScrollView.h"

#include "common/ScrollOffset.h"

void ScrollView::setAreaSize(Size area)
{
    area_ = area;
    offset_.x = clampScrollOffset(offset_.x, image_.width, area_.width);
    offset_.y = clampScrollOffset(offset_.y, image_.height, area_.height);
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
    offset_.x = dragScrollOffset(offset_.x, anchor_.x, pointer.x, image_.width, area_.width);
    offset_.y = dragScrollOffset(offset_.y, anchor_.y, pointer.y, image_.height, area_.height);
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
