#include "CorpusPng.h"

#include <png.h>

#include <cstdlib>
#include <stdexcept>

Bitmap loadCorpusPicture(const std::string& name)
{
    // The environment may point elsewhere, e.g. from a work tree that has no shared/ beside it.
    const char* folder = std::getenv("ZENTRAP_CORPUS_DIR");
    std::string path = std::string(folder != nullptr && *folder != '\0' ? folder : ZENTRAP_CORPUS_DIR) + "/" + name;
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
