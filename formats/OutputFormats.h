// The table of the five output formats: encode a working image into memory (its length and the
// picture its pane shows) or into a file (the same bytes, written atomically).
#pragma once

#include "common/Bitmap.h"
#include "formats/GifFormat.h"

#include <cstddef>
#include <string>

// Codes as the Save As variants store them.
enum class ImageFormat { Bmp = 0, Jpeg = 1, Gif = 2, Png = 3, Tiff = 4 };

struct JpegOptions {
    int quality = 75; // 1..100
    bool progressive = true;
};

struct FormatSettings {
    ImageFormat format = ImageFormat::Bmp;
    JpegOptions jpeg;
    GifOptions gif;
};

struct Measurement {
    size_t length = 0;
    Bitmap preview; // what the variant's pane shows
};

// Encodes into memory. For GIF it may reset the picked pixel in `settings`.
Measurement measureFormat(const Bitmap& image, FormatSettings& settings);

// Writes `image` to `path` in the chosen format: a temporary file in the target folder renamed
// over the target when complete, so a failure leaves an existing file as it was. Throws
// ZentrapError with the system's error text.
void saveFormat(const Bitmap& image, FormatSettings& settings, const std::string& path);
