#include "formats/Quantize.h"

#include "common/ZentrapError.h"
#include "formats/DitherEngine.h"
#include "formats/Octree.h"
#include "formats/SystemPalettes.h"

#include <new>

namespace {

ColorPalette grayPalette(std::initializer_list<uint8_t> levels)
{
    ColorPalette palette;
    for (uint8_t v : levels) {
        palette.push_back({v, v, v, 0});
    }
    return palette;
}

ColorPalette grayRampPalette()
{
    ColorPalette palette(256);
    for (int i = 0; i < 256; ++i) {
        auto v = static_cast<uint8_t>(i);
        palette[static_cast<size_t>(i)] = {v, v, v, 0};
    }
    return palette;
}

ColorPalette netscapePalette()
{
    ColorPalette palette(216);
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette[static_cast<size_t>(36 * r + 6 * g + b)] = {
                    static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * b), 0};
            }
        }
    }
    return palette;
}

Bitmap allocateResult(int width, int height, const ColorPalette& palette)
{
    if (width <= 0 || height <= 0) {
        throw ZentrapError("Invalid image dimensions");
    }
    try {
        Bitmap result(width, height, PixelFormat::Bpp8);
        std::vector<RgbQuad> table(256);
        for (size_t i = 0; i < palette.size() && i < table.size(); ++i) {
            table[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
        }
        result.setColorTable(std::move(table));
        return result;
    } catch (const std::bad_alloc&) {
        throw ZentrapError("Failed to allocate memory for GIF DIB");
    } catch (const ZentrapError&) {
        throw ZentrapError("Failed to allocate memory for GIF DIB");
    }
}

// Walks every row in serpentine order through the engine; the engine decides each index.
void ditherPicture(const Bitmap& source, DitherEngine& engine, Bitmap& result)
{
    int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = result.row(y);
        while (engine.ScanColumn() >= 0 && engine.ScanColumn() < width) {
            int x = engine.ScanColumn();
            const uint8_t* p = in + static_cast<size_t>(x) * 3;
            out[x] = engine.DitherPixel(p[2], p[1], p[0]).index;
        }
        engine.NextRow();
    }
}

// "Nearest color" through the cached lookup: the same order and results as the engine, no calls.
void mapPictureNearest(const Bitmap& source, FastColorLookup& lookup, Bitmap& result)
{
    int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = result.row(y);
        int step = (y % 2 == 0) ? 1 : -1;
        int x = step > 0 ? 0 : width - 1;
        // A cache cell never changes once filled, so a repeated colour repeats its index.
        uint32_t lastColor = 0xFFFFFFFF;
        uint8_t lastIndex = 0;
        for (int n = 0; n < width; ++n, x += step) {
            const uint8_t* p = in + static_cast<size_t>(x) * 3;
            uint32_t color = p[0] | (p[1] << 8) | (p[2] << 16);
            if (color != lastColor) {
                lastColor = color;
                lastIndex = lookup.Lookup(p[2], p[1], p[0]).index;
            }
            out[x] = lastIndex;
        }
    }
}

} // namespace

ReductionMode ReductionModeFromCode(int code)
{
    if (code < 1 || code > 8) {
        throw ZentrapError("Invalid color reduction mode");
    }
    return static_cast<ReductionMode>(code);
}

DitherMode DitherModeFromCode(int code)
{
    if (code < 0 || code > 6) {
        throw ZentrapError("Invalid dither mode");
    }
    return static_cast<DitherMode>(code);
}

ColorPalette MakeReductionPalette(const Bitmap& source, ReductionMode mode, int reductionBits)
{
    switch (mode) {
    case ReductionMode::WindowsSystem:
        return {defaultPalette().begin(), defaultPalette().end()};
    case ReductionMode::WindowsHalftone:
        return {halftonePalette().begin(), halftonePalette().end()};
    case ReductionMode::WindowsGrayscale:
        return grayPalette({0, 128, 192, 255});
    case ReductionMode::Monochrome:
        return grayPalette({0, 255});
    case ReductionMode::Grayscale:
        return grayRampPalette();
    case ReductionMode::Netscape:
        return netscapePalette();
    case ReductionMode::Optimized:
        if (reductionBits < 1 || reductionBits > 8) {
            throw ZentrapError("Invalid color count");
        }
        return MakeOptimizedPalette(source, 1 << reductionBits, 8, false);
    case ReductionMode::OptimizedWindows:
        return MakeOptimizedPalette(source, 256, 8, true);
    }
    throw ZentrapError("Invalid color reduction mode");
}

std::unique_ptr<ColorLookup> CreateColorLookup(ReductionMode mode, const ColorPalette& palette)
{
    switch (mode) {
    case ReductionMode::Monochrome:
        return std::make_unique<MonochromeLookup>();
    case ReductionMode::Grayscale:
        return std::make_unique<GrayScaleLookup>();
    case ReductionMode::Netscape:
        return std::make_unique<NetscapeColorLookup>();
    default:
        return std::make_unique<FastColorLookup>(palette);
    }
}

Bitmap QuantizeBitmap(const Bitmap& source, ReductionMode mode, DitherMode dither, int reductionBits)
{
    if (source.width() <= 0 || source.height() <= 0) {
        throw ZentrapError("Invalid image dimensions");
    }
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        return QuantizeBitmap(source.converted(PixelFormat::Bpp24), mode, dither, reductionBits);
    }
    ColorPalette palette = MakeReductionPalette(source, mode, reductionBits);
    std::unique_ptr<ColorLookup> lookup = CreateColorLookup(mode, palette);
    if (lookup->ColorCount() == 0) {
        return Bitmap();
    }
    Bitmap result = allocateResult(source.width(), source.height(), palette);
    auto* fast = dynamic_cast<FastColorLookup*>(lookup.get());
    if (dither == DitherMode::NearestColor && fast != nullptr) {
        mapPictureNearest(source, *fast, result);
    } else {
        std::unique_ptr<DitherEngine> engine = CreateDitherEngine(static_cast<int>(dither), source.width(), *lookup);
        ditherPicture(source, *engine, result);
    }
    return result;
}
