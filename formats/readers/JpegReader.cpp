#include "formats/readers/JpegReader.h"

#include "common/ZentrapError.h"
#include "formats/JpegCodec.h"

namespace {

void checkHeader(const JpegFileHeader& header, const ImageLimits& limits)
{
    checkImageSize(header.width, header.height, limits);
    // Huffman coding spends at least one bit on every block's DC value: less data cannot hold the picture.
    if (!header.arithmetic && header.blocks / 8 > header.fileBytes) {
        throw ZentrapError("Truncated JPEG file: the image data ends early");
    }
}

} // namespace

Bitmap readJpeg(std::span<const uint8_t> file, const ImageLimits& limits)
{
    // Progressive coefficient buffers beyond the working limit are refused by libjpeg.
    return decodeJpegFile(
        file, [&limits](const JpegFileHeader& header) { checkHeader(header, limits); }, limits.maxWorkingBytes);
}
