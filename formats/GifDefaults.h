// The GIF encoder's process-wide defaults: a new GifImage copies them when it is created.
#pragma once

#include "formats/GifEncoder.h"
#include "formats/Quantize.h"

struct GifEncoderSettings {
    ReductionMode ColorReduction = ReductionMode::OptimizedWindows;
    int ReductionBits = 5; // "Optimized..." with 32 colours
    DitherMode Dither = DitherMode::NearestColor;
    GifCompression Compression = GifCompression::LZW;
};

// The one place that holds them; the Save As window sets them just before it creates an image.
GifEncoderSettings& GIFEncoderDefaults();
