// Reads the first picture of a GIF file through giflib as an 8-bit indexed Bitmap of the logical
// screen's size (grown to hold the picture when the screen is smaller).
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated or too large file.
Bitmap readGif(std::span<const uint8_t> file, const ImageLimits& limits);
