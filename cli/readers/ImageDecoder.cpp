#include "cli/readers/ImageDecoder.h"

#include "cli/readers/BmpReader.h"
#include "cli/readers/GifReader.h"
#include "cli/readers/ImageKind.h"
#include "cli/readers/JpegReader.h"
#include "cli/readers/PngReader.h"
#include "cli/readers/PnmReader.h"
#include "cli/readers/TiffReader.h"
#include "common/ZentrapError.h"

Bitmap decodeImage(std::span<const uint8_t> bytes)
{
    std::optional<ImageKind> kind = detectImageKind(bytes);
    if (!kind) {
        throw ZentrapError("Not a picture file that can be read (BMP, PNG, JPEG, GIF, TIFF, PBM, PGM or PPM)");
    }
    switch (*kind) {
    case ImageKind::Bmp:
        return readBmp(bytes);
    case ImageKind::Png:
        return readPng(bytes);
    case ImageKind::Jpeg:
        return readJpeg(bytes);
    case ImageKind::Gif:
        return readGif(bytes);
    case ImageKind::Tiff:
        return readTiff(bytes);
    case ImageKind::Pnm:
        return readPnm(bytes);
    }
    throw ZentrapError("Unknown picture format");
}
