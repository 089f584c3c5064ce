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

// The encoder defaults, which every GIF image copies when it is created.
void setEncoderDefaults(const GifOptions& options)
{
    GifEncoderSettings settings = GIFEncoderDefaults();
    settings.ColorReduction = ReductionModeFromCode(options.paletteMode);
    if (settings.ColorReduction == ReductionMode::Optimized) {
        settings.ReductionBits = reductionBitsForCount(options.colorCount);
    }
    settings.Dither = DitherModeFromCode(options.ditherMode);
    settings.Compression = compressionFromCode(options.compression);
    GIFEncoderDefaults() = settings;
}

} // namespace

void writeGifVariant(const Bitmap& image, GifOptions& options, ByteSink& out, Bitmap* rendered)
{
    setEncoderDefaults(options);
    GifImage gif;
    gif.Assign(image);
    if (options.pickX >= image.width() || options.pickY >= image.height()) {
        options.pickX = 0;
        options.pickY = 0;
    }
    if (options.transparent) {
        gif.MarkTransparent(options.pickX, options.pickY);
    }
    gif.SaveToStream(out);
    if (rendered != nullptr) {
        *rendered = RenderGifImage(gif);
    }
}
