// Fuzzes the command line's picture reading: arbitrary bytes decoded as zentrap-cli decodes an input
// file, with its size limits in force. Only ZentrapError may come out; a decoded picture must be
// within the limits and consistent with its own format.
#include "common/ZentrapError.h"
#include "formats/readers/ImageDecoder.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        Bitmap picture = decodeImage(std::span<const uint8_t>(data, size));
        int64_t pixels = int64_t{picture.width()} * picture.height();
        if (picture.isEmpty() || picture.width() > kMaxImageSide || picture.height() > kMaxImageSide ||
            pixels > kMaxImagePixels) {
            std::abort();
        }
        if (isIndexed(picture.pixelFormat()) && picture.colorTable().size() != (size_t{1} << picture.bitsPerPixel())) {
            std::abort(); // every index must have a colour
        }
    } catch (const ZentrapError&) {
    }
    return 0;
}
