// Filtered two-pass resampling of a whole bitmap into a destination of the caller's size.
#pragma once

#include "common/Bitmap.h"
#include "editor/FilterTable.h"
#include "editor/ResamplePasses.h"
#include "editor/StatusProgress.h"

// Resamples all of `source` into `destination` (its size already set), which is made 24 bits per
// pixel; the editor calls it with MitchellFilter and support 2.0. Progress runs through the four
// quarters of the status panel: column weights, rows, row weights, columns. The caller repaints the
// status bar afterwards, whether this returns or throws.
//
// Fails with "Source bitmap too small" for an empty source; also for an empty destination, a support
// that is not a positive number up to kMaxResampleSupport, and an intermediate image above
// kMaxResamplePixels (it is destination width × source height) or weight lists beyond
// kMaxSampleWeights.
//
// A direction with one source pixel or one destination pixel uses the plain stretch in that direction;
// elsewhere, mirrored source indices that still fall outside the source are clamped to the nearest edge.
void ResampleBitmap(const Bitmap& source, Bitmap& destination, FilterFunction filter, float support,
                    const StatusProgress& progress = {}, ResampleKernel kernel = ResampleKernel::Vectorised);

inline constexpr float kMaxResampleSupport = 16.0F;
inline constexpr int64_t kMaxResamplePixels = int64_t{1} << 28;
