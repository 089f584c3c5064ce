// JPEG compression of a Bitmap and decompression of the result for its preview, through libjpeg.
// This is the one unit that talks to libjpeg.
#pragma once

#include "common/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Compresses a 24-bit copy of `image` with libjpeg's defaults, quality 1..100 with baseline tables,
// and simple progression when `progressive`. Throws ZentrapError with libjpeg's message.
std::vector<uint8_t> encodeJpeg(const Bitmap& image, int quality, bool progressive);

// Decodes a JPEG stream at scale 1/1 with block smoothing into a 24-bit Bitmap.
// Throws ZentrapError with libjpeg's message.
Bitmap decodeJpeg(std::span<const uint8_t> data);
