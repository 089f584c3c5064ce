// Reads a Windows or OS/2 BMP file: 1, 4 and 8 bits (plain or run-length coded) stay indexed,
// 16, 24 and 32 bits (plain or with channel masks) become 24-bit.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"
#include "formats/readers/PicturePart.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated, unsupported or too large file.
// With `part`, only its top-left part is decoded (and the picture\'s size is set in it).
Bitmap readBmp(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part = nullptr);
