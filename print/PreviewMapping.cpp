#include "print/PreviewMapping.h"

#include "common/Rounding.h"

#include <algorithm>

PreviewMapping::PreviewMapping(Size box, double paperWidth, double paperHeight)
{
    double across = box.width / (paperWidth + 1);
    double down = box.height / (paperHeight + 1);
    k_ = std::min(across, down);
    if (!(k_ > 0)) {
        k_ = 1; // an empty box still maps without dividing by zero
    }
    sheetLeft_ = (box.width / k_ - paperWidth) / 2;
    sheetTop_ = (box.height / k_ - paperHeight) / 2;
}

namespace {

int toPixel(double v)
{
    // Far-off positions (a huge zoom) are pinned well outside any box.
    constexpr double kLimit = 1 << 28;
    return static_cast<int>(roundHalfEven(std::clamp(v, -kLimit, kLimit)));
}

} // namespace

Point PreviewMapping::toPreview(double x, double y) const
{
    return {toPixel((x + sheetLeft_) * k_), toPixel((y + sheetTop_) * k_)};
}

Rect PreviewMapping::toPreview(const InchRect& r) const
{
    Point a = toPreview(r.left, r.top);
    Point b = toPreview(r.right, r.bottom);
    return {a.x, a.y, b.x, b.y};
}

double shadowOffset(double paperWidth, double paperHeight)
{
    double longer = paperWidth > paperHeight ? paperWidth : paperHeight;
    return 15 / (longer * longer);
}
