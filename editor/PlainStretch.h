// The editor's resize without smoothing: nearest neighbour, rows and columns dropped or repeated.
#pragma once

#include "common/Bitmap.h"

// Source index of destination index `x` when `sourceLength` pixels are stretched over
// `destinationLength`: floor(x × Ws / Wd), the rule Bitmap::stretchCopy follows.
int plainStretchIndex(int x, int sourceLength, int destinationLength);

// Stretches the whole source over the whole destination, whose size the caller has set.
// The destination keeps its pixel format. Fails with "Source bitmap too small" for an empty source.
void PlainStretch(const Bitmap& source, Bitmap& destination);
