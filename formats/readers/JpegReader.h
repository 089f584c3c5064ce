// Reads a JPEG file through the JPEG codec with the command line's size limits.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated or too large file.
Bitmap readJpeg(std::span<const uint8_t> file, const ImageLimits& limits);
