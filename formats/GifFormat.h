// The GIF row of the format table: a picture written with the Save As settings of a GIF variant.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "formats/FormatSettings.h"
#include "formats/GifEncoderSettings.h"

// The encoder settings a variant's options ask for. Throws ZentrapError for a palette, colour
// count, dither or compression code outside its range.
GifEncoderSettings gifEncoderSettings(const GifOptions& options);

// Builds a GIF image from `image` (reduced when it is not indexed) with the settings `options`
// ask for, marks the picked pixel's index transparent when asked (a pick outside the image counts
// as (0, 0)) and writes the file's bytes. `rendered`, when given, receives the GIF's picture (the
// reduced colours) as a 24-bit Bitmap. Throws ZentrapError with the writer's messages.
void writeGifVariant(const Bitmap& image, const GifOptions& options, ByteSink& out, Bitmap* rendered = nullptr);
