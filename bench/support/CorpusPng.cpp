#include "bench/support/CorpusPng.h"

#include <png.h>

#include <cstdlib>
#include <stdexcept>

std::string corpusPngPath(const std::string& name)
{
    const char* override = std::getenv("ZENTRAP_CORPUS_DIR");
    return std::string(override != nullptr ? override : ZENTRAP_CORPUS_DIR) + "/" + name;
}

Bitmap loadCorpusPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        throw std::runtime_error("cannot read " + path + ": " + image.message);
    }
    image.format = PNG_FORMAT_BGR;
    Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height), PixelFormat::Bpp24);
    if (png_image_finish_read(&image, nullptr, bitmap.bits(), static_cast<png_int_32>(bitmap.stride()), nullptr) == 0) {
        std::string message = image.message;
        png_image_free(&image);
        throw std::runtime_error("cannot decode " + path + ": " + message);
    }
    return bitmap;
}
