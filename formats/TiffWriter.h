// The TIFF writer: one Bitmap as an uncompressed, single-strip, little-endian TIFF file in the
// bilevel (1 bit), palette (4 and 8 bits) or RGB (24 and 32 bits) layout.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"

#include <cstdint>

// Size in bytes of the file writeTiff writes for `bitmap` (0 for a bitmap without an image).
uint64_t tiffFileSize(const Bitmap& bitmap);

// Writes the whole file into `stream`, as if from position 0 of an empty stream. Writes nothing for
// a bitmap without an image. Throws ZentrapError when the bitmap does not fit the format (a side
// beyond 65,535 pixels, which the SHORT width and length fields cannot hold).
void writeTiff(ByteSink& stream, const Bitmap& bitmap);
