// The GIF row of the format table: the Save As settings of a GIF variant and its encoding.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"

struct GifOptions {
    int paletteMode = 8; // 1..8, "Optimized Windows" by default
    int colorCount = 32; // 8..256, used by palette mode 7 only
    int ditherMode = 0;  // 0..6, "Nearest color" by default
    int compression = 0; // 0 LZW, 1 RLE
    bool transparent = false;
    int pickX = 0; // the picked pixel whose colour becomes transparent
    int pickY = 0;
};

// Sets the encoder's process-wide defaults from `options`, builds a GIF image from `image`
// (reduced when it is not indexed), resets a picked pixel outside the image to (0, 0) in
// `options`, attaches the transparency extension when asked, and writes the file's bytes.
// `rendered`, when given, receives the GIF's picture (the reduced colours) as a 24-bit Bitmap.
// Throws ZentrapError with the writer's messages.
void writeGifVariant(const Bitmap& image, GifOptions& options, ByteSink& out, Bitmap* rendered = nullptr);
