// The desktop's stock palettes as fixed tables: the 20-colour default palette and the halftone palette.
#pragma once

#include "common/Bitmap.h"

#include <array>

constexpr int kDefaultPaletteSize = 20;
constexpr int kHalftonePaletteSize = 256;

// Entries 0-9 are "the first ten", entries 10-19 "the last ten".
const std::array<PaletteEntry, kDefaultPaletteSize>& defaultPalette();

// Slots 0-9 and 246-255 hold the default palette, 10-225 the 6 x 6 x 6 colour cube, 226-245 greys.
const std::array<PaletteEntry, kHalftonePaletteSize>& halftonePalette();
