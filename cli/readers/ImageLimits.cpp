#include "cli/readers/ImageLimits.h"

#include "common/ZentrapError.h"

void checkImageSize(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0) {
        throw ZentrapError("Damaged image file: it declares a size of " + std::to_string(width) + " x " +
                           std::to_string(height));
    }
    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
        throw ZentrapError("Image too large");
    }
}
