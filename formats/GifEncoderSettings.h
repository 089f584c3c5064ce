// The four settings a GIF image is encoded with: how colours are reduced, with how many bits for
// "Optimized...", how they are dithered and which coder writes the pixel data.
#pragma once

#include "formats/GifEncoder.h"
#include "formats/Quantize.h"

struct GifEncoderSettings {
    ReductionMode ColorReduction = ReductionMode::OptimizedWindows;
    int ReductionBits = 5; // "Optimized..." with 32 colours
    DitherMode Dither = DitherMode::NearestColor;
    GifCompression Compression = GifCompression::LZW;
};
