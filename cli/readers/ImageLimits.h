// The largest picture the command line decodes, checked on the declared size before pixel memory is
// taken, so that a small hostile file cannot make the program allocate gigabytes.
#pragma once

#include <cstdint>

constexpr int64_t kMaxImagePixels = int64_t{1} << 28;
constexpr int64_t kMaxImageSide = 65535;

// Throws ZentrapError("Image too large") beyond the limits and a damaged-file error for a size of 0.
void checkImageSize(int64_t width, int64_t height);
