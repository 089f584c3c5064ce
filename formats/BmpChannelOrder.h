// Turns rows of a Bitmap's blue-green-red pixels into the red-green-blue bytes that PNG, TIFF and
// libjpeg expect; the writers call it once per row, so it is kept fast.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes width × 3 bytes (red, green, blue) to `out` from a row of `width` pixels of 24 bits
// (blue, green, red) or 32 bits (blue, green, red, unused). `in` and `out` must not overlap.
void bgrRowToRgb(const uint8_t* in, uint8_t* out, size_t width, int bitsPerPixel);
