// Reads the first page of a TIFF file through libtiff as a 24-bit Bitmap, decoded in bands so that
// libtiff's working memory stays small beside the picture itself.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated, unsupported or too large file.
Bitmap readTiff(std::span<const uint8_t> file, const ImageLimits& limits);
