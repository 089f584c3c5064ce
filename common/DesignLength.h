// The one rule by which windows scale the lengths they are designed with at 96 pixels per inch to
// a screen's density, so that every window rounds alike.
#pragma once

#include "common/Geometry.h"

// `pixelsAt96` at `pixelsPerInch`, rounded to the nearest pixel, halves to the even neighbour
// (14 gives 18 at 120 and 10 at 72); a density of 0 or less is taken as 96.
int scaledDesignLength(int pixelsAt96, int pixelsPerInch);
Size scaledDesignSize(Size designed, int pixelsPerInch);
