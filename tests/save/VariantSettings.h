// A Save As variant's stored settings as tuples, so that tests compare them whole and a failure
// names every value.
#pragma once

#include "save/SaveVariant.h"

#include <tuple>

inline auto jpegSettings(const SaveVariant& v)
{
    return std::tuple(v.JPEGCompressionQuality, v.JPEGProgressiveEncoding);
}

// Palette, colours, compression, dithering, transparency and the picked pixel.
inline auto gifSettings(const SaveVariant& v)
{
    return std::tuple(v.GIFColorReduction, v.GIFColorResolution, v.GIFCompression, v.GIFDitherMode, v.GIFIsTransparent,
                      v.GIFTransparentPixelX, v.GIFTransparentPixelY);
}

inline auto storedSettings(const SaveVariant& v)
{
    return std::tuple_cat(std::tuple(v.Fmt), jpegSettings(v), gifSettings(v));
}

// Variant n with every stored setting away from its default.
inline SaveVariant variantWithEverySettingChanged(int number)
{
    SaveVariant v = SaveVariant::withDefaults(number);
    v.Fmt = 1;
    v.JPEGCompressionQuality = 1; // the lowest quality stored
    v.JPEGProgressiveEncoding = false;
    v.GIFColorReduction = 7;
    v.GIFColorResolution = 256;
    v.GIFDitherMode = 6;
    v.GIFCompression = 1;
    v.GIFIsTransparent = true;
    v.GIFTransparentPixelX = 12;
    v.GIFTransparentPixelY = 34;
    return v;
}

// Quality 75, progressive.
inline const auto kJpegDefaults = std::tuple(75, true);
// The optimized Windows palette of 32 colours, LZW, nearest colour, not transparent, no pick.
inline const auto kGifDefaults = std::tuple(8, 32, 0, 0, false, 0, 0);
