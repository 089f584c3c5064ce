// Decodes the bytes of a picture file in one of the formats the command line reads (BMP, PNG, JPEG,
// GIF, TIFF, PBM/PGM/PPM), chosen by the bytes themselves, with the size limits of ImageLimits.h.
#pragma once

#include "common/Bitmap.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for an unsupported, damaged, truncated or too large picture.
Bitmap decodeImage(std::span<const uint8_t> bytes);
