// Where the captured image sits inside the Remote Control's 80 x 80 thumbnail box.
#pragma once

#include "common/Geometry.h"

constexpr int kThumbnailSize = 80;

// The rectangle that an image of `imageSize` is stretched into: the longer side spans the box,
// the shorter one is centred (halves round to the even neighbour). Equal sides use the height.
Rect thumbnailRect(Size imageSize);

class Bitmap;

// The 80 x 80 thumbnail picture: black, with the image stretched into thumbnailRect().
Bitmap thumbnailBitmap(const Bitmap& image);
