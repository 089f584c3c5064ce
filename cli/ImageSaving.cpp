// Writing a Bitmap in the format its file name's extension asks for, with the default settings.
#include "cli/ImageFiles.h"

#include "common/ZentrapError.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowerCaseExtension(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

} // namespace

std::optional<ImageFormat> imageFormatOfFileName(const std::string& path)
{
    std::string ext = lowerCaseExtension(path);
    if (ext == "bmp") {
        return ImageFormat::Bmp;
    }
    if (ext == "jpg" || ext == "jpeg") {
        return ImageFormat::Jpeg;
    }
    if (ext == "gif") {
        return ImageFormat::Gif;
    }
    if (ext == "png") {
        return ImageFormat::Png;
    }
    if (ext == "tif" || ext == "tiff") {
        return ImageFormat::Tiff;
    }
    return std::nullopt;
}

bool isPpmFileName(const std::string& path)
{
    return lowerCaseExtension(path) == "ppm";
}

void saveImageFileByExtension(const Bitmap& bitmap, const std::string& path)
{
    std::optional<ImageFormat> format = imageFormatOfFileName(path);
    if (!format) {
        throw ZentrapError("Unknown image file extension (use .bmp, .jpg, .jpeg, .gif, .png, .tif or .tiff): " + path);
    }
    FormatSettings settings;
    settings.format = *format;
    saveFormat(bitmap, settings, path);
}
