#include "formats/readers/JpegReader.h"

#include "common/ZentrapError.h"
#include "formats/JpegCodec.h"

#include <string>

namespace {

void checkHeader(const JpegFileHeader& header, const ImageLimits& limits)
{
    checkImageSize(header.width, header.height, limits);
    // Huffman coding spends at least one bit on every block's DC value: less data cannot hold the picture.
    if (!header.arithmetic && header.blocks / 8 > header.fileBytes) {
        throw ZentrapError("Truncated JPEG file: the image data ends early");
    }
    // A progressive file keeps every block's 64 coefficients (2 bytes each) until its last scan.
    if (header.progressive && header.blocks * 128 > limits.maxWorkingBytes) {
        throw ZentrapError("Image too large: a progressive JPEG picture of " + std::to_string(header.width) + " x " +
                           std::to_string(header.height) + " pixels needs " +
                           std::to_string((header.blocks * 128) >> 20) + " MB to decode, more than the limit of " +
                           std::to_string(limits.maxWorkingBytes >> 20) + " MB");
    }
}

} // namespace

Bitmap readJpeg(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part)
{
    auto check = [&](const JpegFileHeader& header) {
        checkHeader(header, limits);
        if (part != nullptr) {
            part->picture = {static_cast<int>(header.width), static_cast<int>(header.height)};
        }
    };
    if (part != nullptr) {
        return decodeJpegFilePart(file, check, limits.maxWorkingBytes, part->wanted);
    }
    return decodeJpegFile(file, check, limits.maxWorkingBytes);
}
