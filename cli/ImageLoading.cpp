// Reading picture files into a Bitmap: the file must be a regular file, its format is told by its
// content and its declared size is limited before anything is decoded.
#include "cli/ImageFiles.h"

#include "common/RegularFile.h"
#include "common/ZentrapError.h"
#include "formats/readers/ImageDecoder.h"

#include <span>

namespace {

// The largest file read: a 24-bit BMP at the pixel limit, with room to spare.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

} // namespace

Bitmap loadImageFile(const std::string& path, const ImageLimits& limits)
{
    // The name is used as the bytes it is: names that are not valid UTF-8 open too.
    RegularFileContents contents = readRegularFile(path, kMaxFileBytes);
    if (!contents.bytes) {
        throw ZentrapError("Cannot read " + path + ": " + contents.errorText);
    }
    try {
        return decodeImage(std::span(reinterpret_cast<const uint8_t*>(contents.bytes->data()), contents.bytes->size()),
                           limits);
    } catch (const ZentrapError& e) {
        throw ZentrapError(path + ": " + e.what());
    }
}
