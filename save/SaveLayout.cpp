#include "save/SaveLayout.h"

#include "common/DesignLength.h"

#include <algorithm>

namespace {

// One column split into an upper and a lower pane with a gap between them.
std::array<Rect, 2> splitColumn(int left, int width, int top, int height)
{
    int upper = std::max(0, height / 2 - kSavePaneGap / 2);
    return {Rect::fromSize(left, top, width, upper),
            Rect::fromSize(left, top + upper + kSavePaneGap, width, std::max(0, height - upper - kSavePaneGap))};
}

} // namespace

std::array<Rect, 4> savePaneAreas(int clientWidth, int clientHeight, int statusBarHeight, int columnWidth)
{
    int areaWidth = std::max(0, clientWidth - columnWidth); // the border included
    int leftWidth = std::max(0, areaWidth / 2 - 10);
    int rightLeft = kSaveBorder + leftWidth + kSavePaneGap;
    int rightWidth = std::max(0, areaWidth - kSaveBorder - rightLeft);
    int columnHeight = std::max(0, clientHeight - statusBarHeight - 2 * kSaveBorder);
    auto left = splitColumn(kSaveBorder, leftWidth, kSaveBorder, columnHeight);
    auto right = splitColumn(rightLeft, rightWidth, kSaveBorder, columnHeight);
    return {left[0], right[0], left[1], right[1]};
}

Size saveWindowMinimumSize(int pixelsPerInch)
{
    return scaledDesignSize(kSaveWindowDesignedSize, pixelsPerInch);
}

Point saveWindowDefaultPosition(Size screen, int pixelsPerInch)
{
    const int designed = scaledDesignLength(kSaveWindowDesignedSize.height, pixelsPerInch);
    return {(screen.width - designed) / 2, (screen.height - designed) / 2};
}
