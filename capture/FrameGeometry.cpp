#include "capture/FrameGeometry.h"

#include "common/DesignLength.h"

#include <algorithm>

namespace {

constexpr int kReferenceBorderWidth = 14;

int clampedExtent(int extent, int borderWidth)
{
    return std::clamp(extent, minimumClientExtent(borderWidth), kMaxFrameExtent);
}

} // namespace

int borderWidthForPixelsPerInch(int pixelsPerInch)
{
    // A display that reports nothing sensible gets the reference band.
    return std::clamp(scaledDesignLength(kReferenceBorderWidth, pixelsPerInch), 1, kMaxFrameExtent / 4);
}

FrameSettings defaultFrameSettings(const FrameDesktop& screens)
{
    const Rect& primary = screens.primary;
    return {primary.left + primary.width() / 4, primary.top + primary.height() / 4, primary.width() / 2,
            primary.height() / 2, 0};
}

FrameSettings correctedFrameSettings(FrameSettings stored, const FrameDesktop& screens, int borderWidth)
{
    FrameSettings result = stored;
    const FrameSettings defaults = defaultFrameSettings(screens);
    if (screens.desktop.right < result.left) {
        result.left = defaults.left;
    }
    if (screens.desktop.bottom < result.top) {
        result.top = defaults.top;
    }
    result.left = std::max(result.left, kMinFramePosition);
    result.top = std::max(result.top, kMinFramePosition);
    result.width = clampedExtent(result.width, borderWidth);
    result.height = clampedExtent(result.height, borderWidth);
    return result;
}

Size clampedClientSize(Size client, int borderWidth)
{
    return {clampedExtent(client.width, borderWidth), clampedExtent(client.height, borderWidth)};
}

Rect holeRect(Size client, int borderWidth)
{
    return {borderWidth, borderWidth, client.width - borderWidth, client.height - borderWidth};
}

Rect captureRect(Point clientOrigin, Size client, int borderWidth)
{
    return Rect::fromSize(clientOrigin.x + borderWidth, clientOrigin.y + borderWidth, client.width - 2 * borderWidth,
                          client.height - 2 * borderWidth);
}

unsigned frameEdgesAt(Point point, Size client, int margin, int borderWidth)
{
    if (!Rect::fromSize(0, 0, client.width, client.height).contains(point)) {
        return kEdgeNone;
    }
    auto near = [](int distance, int limit) { return distance < limit; };
    int fromLeft = point.x;
    int fromTop = point.y;
    int fromRight = client.width - 1 - point.x;
    int fromBottom = client.height - 1 - point.y;

    unsigned edges = kEdgeNone;
    if (near(fromLeft, margin)) {
        edges |= kEdgeLeft;
    } else if (near(fromRight, margin)) {
        edges |= kEdgeRight;
    }
    if (near(fromTop, margin)) {
        edges |= kEdgeTop;
    } else if (near(fromBottom, margin)) {
        edges |= kEdgeBottom;
    }
    if (edges == kEdgeNone) {
        return kEdgeNone;
    }
    // Along an edge, the last band width before a corner counts as that corner: easier to grab.
    if ((edges & (kEdgeLeft | kEdgeRight)) != 0 && (edges & (kEdgeTop | kEdgeBottom)) == 0) {
        if (near(fromTop, borderWidth)) {
            edges |= kEdgeTop;
        } else if (near(fromBottom, borderWidth)) {
            edges |= kEdgeBottom;
        }
    } else if ((edges & (kEdgeTop | kEdgeBottom)) != 0 && (edges & (kEdgeLeft | kEdgeRight)) == 0) {
        if (near(fromLeft, borderWidth)) {
            edges |= kEdgeLeft;
        } else if (near(fromRight, borderWidth)) {
            edges |= kEdgeRight;
        }
    }
    return edges;
}

Rect resizedFrame(Rect start, unsigned edges, int dx, int dy, int borderWidth)
{
    int minimum = minimumClientExtent(borderWidth);
    Rect result = start;
    if ((edges & kEdgeLeft) != 0) {
        result.left = std::clamp(start.left + dx, start.right - kMaxFrameExtent, start.right - minimum);
    } else if ((edges & kEdgeRight) != 0) {
        result.right = std::clamp(start.right + dx, start.left + minimum, start.left + kMaxFrameExtent);
    }
    if ((edges & kEdgeTop) != 0) {
        result.top = std::clamp(start.top + dy, start.bottom - kMaxFrameExtent, start.bottom - minimum);
    } else if ((edges & kEdgeBottom) != 0) {
        result.bottom = std::clamp(start.bottom + dy, start.top + minimum, start.top + kMaxFrameExtent);
    }
    return result;
}
