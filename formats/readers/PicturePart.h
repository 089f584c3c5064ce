// The top-left part of a picture that a caller wants (a skin's visible part): the readers that
// can (BMP, JPEG, PNG) allocate and decode only those pixels and stop reading after its last row,
// so that the cost follows the part, not the picture.
#pragma once

#include "common/Geometry.h"

#include <algorithm>

struct PicturePart {
    Size wanted;  // at most this many columns and rows from the top-left corner
    Size picture; // set by the reader: the picture's own size
    // The part's size in a picture of `width` x `height`.
    Size within(int width, int height) const
    {
        return {std::min(width, wanted.width), std::min(height, wanted.height)};
    }
};
