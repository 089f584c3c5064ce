// Reads a PNG file through libpng: palette pictures stay indexed (1, 4 or 8 bits), grey ones become
// 8-bit grey (1-bit grey stays 1-bit), colour becomes 24-bit; alpha and 16-bit precision are dropped.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"
#include "formats/readers/PicturePart.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated or too large file.
// With `part`, only its top-left part is decoded (and the picture\'s size is set in it).
Bitmap readPng(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part = nullptr);
