// Colour reduction: turns a picture into an 8-bit indexed Bitmap with one of eight palettes and one of
// seven ways of scanning (nearest colour or error diffusion).
#pragma once

#include "common/Bitmap.h"
#include "formats/ColorLookup.h"

#include <memory>

// The Save As palette list's item index plus 1.
enum class ReductionMode {
    WindowsSystem = 1,
    WindowsHalftone = 2,
    WindowsGrayscale = 3,
    Monochrome = 4,
    Grayscale = 5,
    Netscape = 6,
    Optimized = 7,
    OptimizedWindows = 8,
};

// The Save As dithering list's item index.
enum class DitherMode {
    NearestColor = 0,
    FloydSteinberg = 1,
    Stucki = 2,
    Sierra = 3,
    JarvisJudiceNinke = 4,
    StevensonArce = 5,
    Burkes = 6,
};

// Checked conversions from stored codes; out-of-range codes throw ZentrapError.
ReductionMode ReductionModeFromCode(int code);
DitherMode DitherModeFromCode(int code);

// The palette of a reduction mode (`reductionBits` 1..8 for "Optimized...") made for `source` (24-bit).
ColorPalette MakeReductionPalette(const Bitmap& source, ReductionMode mode, int reductionBits);

// The colour mapping that a reduction mode uses with its palette.
std::unique_ptr<ColorLookup> CreateColorLookup(ReductionMode mode, const ColorPalette& palette);

// An 8-bit Bitmap of the source's size with a 256-entry colour table (the palette, then black) and
// one palette index per pixel, scanned in serpentine order. A source of another depth is reduced
// from a 24-bit copy. Throws ZentrapError ("Invalid image dimensions", ...).
Bitmap QuantizeBitmap(const Bitmap& source, ReductionMode mode, DitherMode dither, int reductionBits);
