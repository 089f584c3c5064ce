#include "app/SkinPicture.h"

#include "common/RegularFile.h"
#include "common/ZentrapError.h"
#include "formats/OutputFormats.h"
#include "formats/readers/ImageDecoder.h"

#include <algorithm>

std::optional<ImageKind> skinKindForPath(const std::string& path)
{
    // Skins are bitmaps, JPEG or PNG pictures, told by the extensions of the format table.
    const OutputFormat* format = outputFormatOfFileName(path);
    if (format == nullptr) {
        return std::nullopt;
    }
    switch (format->id) {
    case ImageFormat::Bmp:
        return ImageKind::Bmp;
    case ImageFormat::Jpeg:
        return ImageKind::Jpeg;
    case ImageFormat::Png:
        return ImageKind::Png;
    default:
        return std::nullopt;
    }
}

SkinPicture decodeSkinPicture(ImageKind kind, std::span<const uint8_t> bytes, Size window)
{
    const Bitmap picture = decodeImageOfKind(kind, bytes, kSkinImageLimits);
    // Only the top-left part inside the window is ever seen; the rest is not kept.
    const int width = std::min(picture.width(), window.width);
    const int height = std::min(picture.height(), window.height);
    Bitmap part(width, height, picture.pixelFormat());
    if (!picture.colorTable().empty()) {
        part.setColorTable(picture.colorTable());
    }
    part.copyRect({0, 0}, picture, Rect{0, 0, width, height});
    SkinPicture skin;
    skin.size = {picture.width(), picture.height()};
    skin.visible = part.pixelFormat() == PixelFormat::Bpp24 ? std::move(part) : part.converted(PixelFormat::Bpp24);
    return skin;
}

SkinPicture loadSkinPicture(const std::string& path, Size window)
{
    const std::optional<ImageKind> kind = skinKindForPath(path);
    if (!kind) {
        throw ZentrapError("Not a skin picture: " + path);
    }
    RegularFileContents contents = readRegularFile(path, kMaxSkinFileBytes);
    if (!contents.bytes) {
        throw ZentrapError("Cannot read " + path + ": " + contents.errorText);
    }
    return decodeSkinPicture(
        *kind, std::span(reinterpret_cast<const uint8_t*>(contents.bytes->data()), contents.bytes->size()), window);
}

std::string skinWarningText(const std::string& path)
{
    return "Skin is not loaded: " + path + "\r\nPlease, make sure it exists and has either JPEG of BMP format.\r\n" +
           "Or select another skin at the \"Options\" dialog.";
}
