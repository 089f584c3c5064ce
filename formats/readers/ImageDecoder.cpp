#include "formats/readers/ImageDecoder.h"

#include "common/ZentrapError.h"
#include "formats/readers/BmpReader.h"
#include "formats/readers/GifReader.h"
#include "formats/readers/JpegReader.h"
#include "formats/readers/PngReader.h"
#include "formats/readers/PnmReader.h"
#include "formats/readers/TiffReader.h"

namespace {

Bitmap decodeAs(ImageKind kind, std::span<const uint8_t> bytes, const ImageLimits& limits)
{
    switch (kind) {
    case ImageKind::Bmp:
        return readBmp(bytes, limits);
    case ImageKind::Png:
        return readPng(bytes, limits);
    case ImageKind::Jpeg:
        return readJpeg(bytes, limits);
    case ImageKind::Gif:
        return readGif(bytes, limits);
    case ImageKind::Tiff:
        return readTiff(bytes, limits);
    case ImageKind::Pnm:
        return readPnm(bytes, limits);
    }
    throw ZentrapError("Unknown picture format");
}

} // namespace

Bitmap decodeImage(std::span<const uint8_t> bytes, const ImageLimits& limits)
{
    std::optional<ImageKind> kind = detectImageKind(bytes);
    if (!kind) {
        throw ZentrapError("Not a picture file that can be read (BMP, PNG, JPEG, GIF, TIFF, PBM, PGM or PPM)");
    }
    return decodeAs(*kind, bytes, limits);
}

Bitmap decodeImagePartOfKind(ImageKind kind, std::span<const uint8_t> bytes, const ImageLimits& limits,
                             PicturePart& part)
{
    if (detectImageKind(bytes) != kind) {
        throw ZentrapError("The file does not hold a picture of the kind its name says");
    }
    switch (kind) {
    case ImageKind::Bmp:
        return readBmp(bytes, limits, &part);
    case ImageKind::Png:
        return readPng(bytes, limits, &part);
    case ImageKind::Jpeg:
        return readJpeg(bytes, limits, &part);
    default:
        break;
    }
    Bitmap whole = decodeAs(kind, bytes, limits);
    part.picture = {whole.width(), whole.height()};
    Size size = part.within(whole.width(), whole.height());
    Bitmap out(size.width, size.height, whole.pixelFormat());
    out.setColorTable(whole.colorTable());
    out.copyRect({0, 0}, whole, Rect::fromSize(0, 0, size.width, size.height));
    return out;
}

Bitmap decodeImageOfKind(ImageKind kind, std::span<const uint8_t> bytes, const ImageLimits& limits)
{
    if (detectImageKind(bytes) != kind) {
        throw ZentrapError("The file does not hold a picture of the kind its name says");
    }
    return decodeAs(kind, bytes, limits);
}
