// One of the Save As window's four variants: its format, its JPEG and GIF settings and the
// result of its last encoding (caption, length, the picture its pane shows).
#pragma once

#include "common/Bitmap.h"
#include "formats/OutputFormats.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

constexpr int kVariantCount = 4;

// The format word of the pane captions.
std::string formatWord(ImageFormat format);

struct SaveVariant {
    int number = 1; // 1..4
    // The stored format code; a code read from the settings may lie outside 0-4 and then
    // names no format until the user chooses one.
    int Fmt = 0;
    int JPEGCompressionQuality = 75;
    bool JPEGProgressiveEncoding = true;
    int GIFColorReduction = 8;
    int GIFColorResolution = 32;
    int GIFCompression = 0;
    int GIFDitherMode = 0;
    bool GIFIsTransparent = false;
    int GIFTransparentPixelX = 0;
    int GIFTransparentPixelY = 0;

    // What the pane draws. Shared, never changed in place: formats whose preview is the working
    // image itself point at it instead of holding a copy.
    std::shared_ptr<const Bitmap> picture;
    std::string caption;      // the pane title
    size_t encodedLength = 0; // the gauge's position; 0 until the first encoding

    // Variant n as created: format n - 1, the default settings, the title "Variant n: <format>".
    static SaveVariant withDefaults(int number);

    std::optional<ImageFormat> format() const { return formatFromCode(Fmt); }
    FormatSettings formatSettings(ImageFormat format) const;

    // "Defaults" of the JPEG and the GIF panels.
    void restoreJpegDefaults();
    void restoreGifDefaults();
    // Resets a picked pixel outside an image of the given size to (0, 0).
    void keepPickInside(int width, int height);
};
