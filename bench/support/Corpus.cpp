#include "bench/support/Corpus.h"

#include "common/ZentrapError.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#ifndef ZENTRAP_CORPUS_DIR
#define ZENTRAP_CORPUS_DIR "../shared/corpus"
#endif

std::string corpusDir()
{
    const char* env = std::getenv("ZENTRAP_CORPUS_DIR");
    return env && *env ? env : ZENTRAP_CORPUS_DIR;
}

std::vector<std::string> corpusNames()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir(), error)) {
        if (entry.path().extension() == ".png") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bitmap decodeCorpusPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        throw ZentrapError("Cannot read " + path + ": " + image.message);
    }
    image.format = PNG_FORMAT_BGR;
    Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height), PixelFormat::Bpp24);
    if (!png_image_finish_read(&image, nullptr, bitmap.bits(), static_cast<png_int_32>(bitmap.stride()), nullptr)) {
        png_image_free(&image);
        throw ZentrapError("Cannot decode " + path + ": " + image.message);
    }
    return bitmap;
}

const Bitmap& corpusImage(const std::string& name)
{
    static std::map<std::string, Bitmap> cache;
    auto found = cache.find(name);
    if (found == cache.end()) {
        found = cache.emplace(name, decodeCorpusPng(corpusDir() + "/" + name)).first;
    }
    return found->second;
}

std::string corpusLabel(const std::string& name)
{
    return name.substr(0, name.find('-'));
}
