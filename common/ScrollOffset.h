// The scroll rules of the views that show an image one to one (the editor, the Save As previews).
#pragma once

#include <algorithm>

// An offset after the view has changed size: an offset that would leave empty space right of (or
// below) the image moves back, and never below 0.
inline int clampScrollOffset(int offset, int imageSize, int viewSize)
{
    if (offset > 0 && imageSize - offset < viewSize) {
        offset = imageSize - viewSize;
    }
    return std::max(offset, 0);
}

// The offset while dragging in one direction: anchor - pointer, kept within 0 .. image - view.
// Unchanged when the image fits the view in that direction.
inline int dragScrollOffset(int offset, int anchor, int pointer, int imageSize, int viewSize)
{
    if (imageSize <= viewSize) {
        return offset;
    }
    return std::clamp(anchor - pointer, 0, imageSize - viewSize);
}
