// Decodes the bytes of a picture file in one of the formats read from outside (BMP, PNG, JPEG,
// GIF, TIFF, PBM/PGM/PPM) within the caller's size limits.
#pragma once

#include "common/Bitmap.h"
#include "formats/readers/ImageKind.h"
#include "formats/readers/ImageLimits.h"
#include "formats/readers/PicturePart.h"

#include <cstdint>
#include <span>

// The format is told by the bytes themselves. Throws ZentrapError for an unsupported, damaged,
// truncated or too large picture.
Bitmap decodeImage(std::span<const uint8_t> bytes, const ImageLimits& limits = kCommandLineImageLimits);

// The bytes must hold a picture of `kind`; anything else is refused like a damaged file.
Bitmap decodeImageOfKind(ImageKind kind, std::span<const uint8_t> bytes, const ImageLimits& limits);

// Only the top-left `part.wanted` pixels of a picture of `kind`, at the cost of that part: BMP,
// JPEG and PNG decode just those rows and columns (the declared size is still checked against
// `limits`). Sets `part.picture` to the picture's own size.
Bitmap decodeImagePartOfKind(ImageKind kind, std::span<const uint8_t> bytes, const ImageLimits& limits,
                             PicturePart& part);
