// Draws the Print Preview's picture off-screen: the background, the sheet with its shadow and
// printable area, the image (its printable part as pixels, the rest chequered white), the
// dotted margins and the chequered image frame.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "print/PageLayout.h"
#include "print/PreviewMapping.h"

struct PreviewOptions {
    bool showMargins = true;
    bool showFrame = true;
    ColorRef background = kDefaultBackground;
};

inline constexpr ColorRef kSheetGrey = 15790320;  // the sheet outside the printable area
inline constexpr ColorRef kSheetWhite = 16777215; // the printable area
inline constexpr ColorRef kMarginGreen = 32768;   // the printable area's dotted outline

// Redraws `buffer` at `box` size. `image` must be 24 bits per pixel.
void paintPreview(Bitmap& buffer, Size box, const SheetGeometry& sheet, const PageLayout& layout, const Bitmap& image,
                  double screenPpi, const PreviewOptions& options);
