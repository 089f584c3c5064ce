// Reads the Netpbm formats: PBM (P1, P4) as a 1-bit picture, PGM (P2, P5) as 8-bit grey and
// PPM (P3, P6) as 24-bit, with sample values up to 65535.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <span>

// Throws ZentrapError for a damaged, truncated or too large file.
Bitmap readPnm(std::span<const uint8_t> file, const ImageLimits& limits);
