// Fuzzes skin loading: arbitrary bytes decoded as a skin of the kind the first byte picks (bitmap,
// JPEG or PNG), within the skins' tight size limits. Only ZentrapError may come out; a loaded skin
// keeps at most the window's part of the picture, in 24 bits.
#include "app/SkinPicture.h"
#include "common/ZentrapError.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    constexpr ImageKind kinds[] = {ImageKind::Bmp, ImageKind::Jpeg, ImageKind::Png};
    const ImageKind kind = kinds[data[0] % 3];
    constexpr Size window{100, 260};
    try {
        const SkinPicture skin = decodeSkinPicture(kind, std::span<const uint8_t>(data + 1, size - 1), window);
        const int64_t pixels = int64_t{skin.size.width} * skin.size.height;
        if (skin.size.width <= 0 || skin.size.height <= 0 || skin.size.width > kSkinImageLimits.maxSide ||
            skin.size.height > kSkinImageLimits.maxSide || pixels > kSkinImageLimits.maxPixels) {
            std::abort();
        }
        if (skin.visible.pixelFormat() != PixelFormat::Bpp24 ||
            skin.visible.width() != std::min(skin.size.width, window.width) ||
            skin.visible.height() != std::min(skin.size.height, window.height)) {
            std::abort();
        }
    } catch (const ZentrapError&) {
    }
    return 0;
}
