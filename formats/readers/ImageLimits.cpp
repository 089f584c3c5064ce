#include "formats/readers/ImageLimits.h"

#include "common/ZentrapError.h"

#include <string>

void checkImageSize(int64_t width, int64_t height, const ImageLimits& limits)
{
    if (width <= 0 || height <= 0) {
        throw ZentrapError("Damaged image file: it declares a size of " + std::to_string(width) + " x " +
                           std::to_string(height));
    }
    if (width > limits.maxSide || height > limits.maxSide) {
        throw ZentrapError("Image too large: " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels, more than " + std::to_string(limits.maxSide) + " on a side");
    }
    if (width * height > limits.maxPixels) {
        throw ZentrapError("Image too large: " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels, more than the limit of " + std::to_string(limits.maxPixels));
    }
}
