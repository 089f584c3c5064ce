// Writing a Bitmap in the format its file name's extension asks for, with the default settings.
#include "cli/ImageFiles.h"

#include "common/ZentrapError.h"

#include <algorithm>
#include <cctype>
#include <vector>

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
    const OutputFormat* format = outputFormatOfFileName(path);
    return format != nullptr ? std::optional(format->id) : std::nullopt;
}

std::string outputExtensionList()
{
    std::vector<std::string> names;
    for (const OutputFormat& format : outputFormats()) {
        for (std::string_view extension : format.extensions) {
            names.push_back("." + std::string(extension));
        }
    }
    std::string list = names.front();
    for (size_t i = 1; i < names.size(); ++i) {
        list += (i + 1 == names.size() ? " or " : ", ") + names[i];
    }
    return list;
}

bool isPpmFileName(const std::string& path)
{
    return lowerCaseExtension(path) == "ppm";
}

void saveImageFileByExtension(const Bitmap& bitmap, const std::string& path)
{
    std::optional<ImageFormat> format = imageFormatOfFileName(path);
    if (!format) {
        throw ZentrapError("Unknown image file extension (use " + outputExtensionList() + "): " + path);
    }
    FormatSettings settings;
    settings.format = *format;
    saveFormat(bitmap, settings, path);
}
