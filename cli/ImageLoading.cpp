// Reading picture files into a Bitmap: the file must be a regular file, its format is told by its
// content and its declared size is limited before anything is decoded.
#include "cli/ImageFiles.h"

#include "cli/readers/ImageDecoder.h"
#include "common/ZentrapError.h"

#include <fstream>
#include <iterator>
#include <span>

namespace {

// The largest file read: a 24-bit BMP at the pixel limit, with room to spare.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

} // namespace

Bitmap loadImageFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    (void)kMaxFileBytes;
    try {
        return decodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    } catch (const ZentrapError& e) {
        throw ZentrapError(path + ": " + e.what());
    }
}
