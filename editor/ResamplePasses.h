// The two passes of the resampler: weighted sums along rows into the intermediate image, then along columns.
#pragma once

#include "common/Bitmap.h"
#include "editor/ResampleWeights.h"

#include <functional>

// Both kernels give identical bytes: every pixel's three sums add the weights of its list in the
// list's order, each addition rounded once to a 32-bit float (a fused multiply-add). The vectorised
// kernel works on eight rows or eight bytes at a time and needs AVX2 with FMA.
enum class ResampleKernel { Scalar, Vectorised };

bool vectorisedResampleAvailable();

// Fills `intermediate` (destination width × source height, 24 bits) from the 24-bit `source`;
// `beforeRow(k)` runs before source row k is handled.
void resampleRows(const Bitmap& source, Bitmap& intermediate, const SampleWeightTable& columns, ResampleKernel kernel,
                  const std::function<void(int)>& beforeRow);

// Fills the 24-bit `destination` from `intermediate`; `beforeColumn(m)` runs before destination column m.
void resampleColumns(const Bitmap& intermediate, Bitmap& destination, const SampleWeightTable& rows,
                     ResampleKernel kernel, const std::function<void(int)>& beforeColumn);
