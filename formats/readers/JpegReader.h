// Reads a JPEG file through the JPEG codec with the command line's size limits.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"
#include "formats/readers/PicturePart.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated or too large file.
// With `part`, only its top-left part is decoded (and the picture\'s size is set in it).
Bitmap readJpeg(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part = nullptr);
