#include "save/SaveVariant.h"

#include <string>

std::string formatWord(ImageFormat format)
{
    return std::string(outputFormat(format).word);
}

SaveVariant SaveVariant::withDefaults(int number)
{
    SaveVariant v;
    v.number = number;
    v.Fmt = number - 1;
    v.caption = "Variant " + std::to_string(number) + ": " + formatWord(static_cast<ImageFormat>(v.Fmt));
    return v;
}

FormatSettings SaveVariant::formatSettings(ImageFormat format) const
{
    FormatSettings s;
    s.format = format;
    s.jpeg.quality = JPEGCompressionQuality;
    s.jpeg.progressive = JPEGProgressiveEncoding;
    s.gif.paletteMode = GIFColorReduction;
    s.gif.colorCount = GIFColorResolution;
    s.gif.ditherMode = GIFDitherMode;
    s.gif.compression = GIFCompression;
    s.gif.transparent = GIFIsTransparent;
    s.gif.pickX = GIFTransparentPixelX;
    s.gif.pickY = GIFTransparentPixelY;
    return s;
}

void SaveVariant::restoreJpegDefaults()
{
    const SaveVariant d;
    JPEGCompressionQuality = d.JPEGCompressionQuality;
    JPEGProgressiveEncoding = d.JPEGProgressiveEncoding;
}

void SaveVariant::restoreGifDefaults()
{
    const SaveVariant d;
    GIFColorReduction = d.GIFColorReduction;
    GIFColorResolution = d.GIFColorResolution;
    GIFDitherMode = d.GIFDitherMode;
    GIFCompression = d.GIFCompression;
    GIFIsTransparent = d.GIFIsTransparent;
    GIFTransparentPixelX = d.GIFTransparentPixelX;
    GIFTransparentPixelY = d.GIFTransparentPixelY;
}

void SaveVariant::keepPickInside(int width, int height)
{
    // Negative coordinates come only from edited settings; they are outside the image too.
    if (GIFTransparentPixelX < 0 || GIFTransparentPixelY < 0 || GIFTransparentPixelX >= width ||
        GIFTransparentPixelY >= height) {
        GIFTransparentPixelX = 0;
        GIFTransparentPixelY = 0;
    }
}
