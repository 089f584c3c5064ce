#include "cli/readers/JpegReader.h"

#include "cli/readers/ImageLimits.h"
#include "common/ZentrapError.h"
#include "formats/JpegCodec.h"

namespace {

// Progressive coefficient buffers beyond this are refused by libjpeg.
constexpr size_t kMaxWorkingMemory = size_t{256} << 20;

void checkHeader(const JpegFileHeader& header)
{
    checkImageSize(header.width, header.height);
    // Huffman coding spends at least one bit on every block's DC value: less data cannot hold the picture.
    if (!header.arithmetic && header.blocks / 8 > header.fileBytes) {
        throw ZentrapError("Truncated JPEG file: the image data ends early");
    }
}

} // namespace

Bitmap readJpeg(std::span<const uint8_t> file)
{
    return decodeJpegFile(file, checkHeader, kMaxWorkingMemory);
}
