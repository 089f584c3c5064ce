// The largest picture a reader decodes, checked on the declared size before pixel memory is taken,
// so that a small hostile file cannot make the program allocate more than its caller allows.
#pragma once

#include <cstddef>
#include <cstdint>

struct ImageLimits {
    int64_t maxSide = 0;
    int64_t maxPixels = 0;
    // The largest working buffer a decoder may take besides the picture itself (libjpeg's
    // progressive coefficients, one allocation of libtiff).
    size_t maxWorkingBytes = 0;
};

constexpr int64_t kMaxImagePixels = int64_t{1} << 28;
constexpr int64_t kMaxImageSide = 65535;

// The command line's limits: any picture the output formats can hold.
constexpr ImageLimits kCommandLineImageLimits{kMaxImageSide, kMaxImagePixels, size_t{256} << 20};

// Throws ZentrapError("Image too large: ...", with the size and the limit) beyond the limits and a damaged-file error
// for a size of 0.
void checkImageSize(int64_t width, int64_t height, const ImageLimits& limits);
