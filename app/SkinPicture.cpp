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
    // Only the top-left part inside the window is ever seen: just that part is decoded and kept.
    PicturePart part{window, {}};
    Bitmap visible = decodeImagePartOfKind(kind, bytes, kSkinImageLimits, part);
    SkinPicture skin;
    skin.size = part.picture;
    skin.visible =
        visible.pixelFormat() == PixelFormat::Bpp24 ? std::move(visible) : visible.converted(PixelFormat::Bpp24);
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

std::string skinWarningText(const std::string& path, const std::string& reason)
{
    // A picture refused for its size is not one of the wrong format: then the size is the advice.
    const std::string pictureTooLarge = "Image too large: ";
    std::string advice = "Please, make sure it exists and has either JPEG of BMP format.";
    if (size_t at = reason.find(pictureTooLarge); at != std::string::npos) {
        advice = "It is too large: " + reason.substr(at + pictureTooLarge.size()) + ".";
    } else if (reason.find(": File too large") != std::string::npos) {
        advice = "It is too large: a skin file may hold at most " + std::to_string(kMaxSkinFileBytes >> 20) + " MB.";
    }
    return "Skin is not loaded: " + path + "\r\n" + advice + "\r\n" +
           "Or select another skin at the \"Options\" dialog.";
}
