#include "CorpusPng.h"

#include <png.h>

#include <stdexcept>

Bitmap loadCorpusPicture(const std::string& name)
{
    std::string path = std::string(ZENTRAP_CORPUS_DIR) + "/" + name;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        throw std::runtime_error("cannot read " + path + ": " + image.message);
    }
    image.format = PNG_FORMAT_BGR;
    Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height), PixelFormat::Bpp24);
    if (!png_image_finish_read(&image, nullptr, bitmap.bits(), static_cast<png_int_32>(bitmap.stride()), nullptr)) {
        png_image_free(&image);
        throw std::runtime_error("cannot decode " + path + ": " + image.message);
    }
    return bitmap;
}
