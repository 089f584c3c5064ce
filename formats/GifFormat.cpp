#include "formats/GifFormat.h"

#include "common/ZentrapError.h"
#include "formats/GifImage.h"

namespace {

// The "Optimized..." colour counts and their reduction bits (round(log2(count))).
int reductionBitsForCount(int count)
{
    for (int bits = 3; bits <= 8; ++bits) {
        if (count == (1 << bits)) {
            return bits;
        }
    }
    throw ZentrapError("Invalid color count");
}

GifCompression compressionFromCode(int code)
{
    if (code != 0 && code != 1) {
        throw ZentrapError("Invalid compression");
    }
    return static_cast<GifCompression>(code);
}

} // namespace

GifEncoderSettings gifEncoderSettings(const GifOptions& options)
{
    GifEncoderSettings settings;
    settings.ColorReduction = ReductionModeFromCode(options.paletteMode);
    if (settings.ColorReduction == ReductionMode::Optimized) {
        settings.ReductionBits = reductionBitsForCount(options.colorCount);
    }
    settings.Dither = DitherModeFromCode(options.ditherMode);
    settings.Compression = compressionFromCode(options.compression);
    return settings;
}

void writeGifVariant(const Bitmap& image, const GifOptions& options, ByteSink& out, Bitmap* rendered)
{
    GifImage gif(gifEncoderSettings(options));
    gif.Assign(image);
    if (options.transparent) {
        const bool inside = options.pickX < image.width() && options.pickY < image.height();
        gif.MarkTransparent(inside ? options.pickX : 0, inside ? options.pickY : 0);
    }
    gif.SaveToStream(out);
    if (rendered != nullptr) {
        *rendered = RenderGifImage(gif);
    }
}
