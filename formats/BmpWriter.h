// Writes a Bitmap in the BMP file format: the file form in the bitmap's own pixel format, and the
// 24-bit form that the Save As window measures.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The colour table a BMP file of `image` carries: the colour table of an indexed image (a grey
// ramp when it has none), the attached system palette of a 24-bit capture, otherwise none.
std::vector<RgbQuad> bmpColorTable(const Bitmap& image);

// Size in bytes of the BMP file of `image`; throws ZentrapError when the image is empty or does
// not fit the format's 32-bit size fields.
uint64_t bmpFileSize(const Bitmap& image);

// File form: 14-byte file header, 40-byte information header, colour table, rows bottom-up each
// padded to 4 bytes, all in the bitmap's own pixel format.
void writeBmpFile(const Bitmap& image, ByteSink& out);

// Measured form: a 24-bit copy of `image` in the file form.
void writeMeasuredBmp(const Bitmap& image, ByteSink& out);
