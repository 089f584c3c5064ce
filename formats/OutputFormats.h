// The table of the five output formats: one row per format with everything the rest of the
// program asks about it (its word, dialog filter, file name extensions, writer and preview), and
// the two uses of a row: encoding into memory (length and preview) and saving to a file.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "formats/FormatSettings.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every writer has this shape; each reads only its own format's settings.
using FormatWriter = void (*)(const Bitmap& image, const FormatSettings& settings, ByteSink& out);
// Writes what the format's writer writes and returns the picture those bytes show.
using PreviewWriter = Bitmap (*)(const Bitmap& image, const FormatSettings& settings, ByteSink& out);

struct OutputFormat {
    ImageFormat id;
    std::string_view word;   // "JPEG": pane captions, the "Format: " list
    std::string_view filter; // "JPEG files (*.jpg)": the save dialog's filter
    // File name extensions without the dot; the first is the one the save dialog appends.
    std::span<const std::string_view> extensions;
    FormatWriter write;
    // The bytes whose length a variant shows: the file's bytes, except BMP's 24-bit form.
    FormatWriter measure;
    // Null when the pane shows the image itself; otherwise the encoding's own look.
    PreviewWriter preview;

    bool previewIsImage() const { return preview == nullptr; }
    std::string_view defaultExtension() const { return extensions.front(); }
};

// The rows in the order of the format codes.
std::span<const OutputFormat> outputFormats();
const OutputFormat& outputFormat(ImageFormat id);
// A stored format code as a format; nothing for a code outside the table.
std::optional<ImageFormat> formatFromCode(int code);
// The row named by a word or an extension, without regard to case ("JPEG", "jpg", "tif").
const OutputFormat* outputFormatNamed(std::string_view name);
// The row whose extension ends `path` ("shot.JPEG"); null for none.
const OutputFormat* outputFormatOfFileName(std::string_view path);

struct Measurement {
    size_t length = 0;
    Bitmap preview; // what the variant's pane shows
};

// Encodes into memory: the length of the measured bytes and the picture the pane shows.
Measurement measureFormat(const Bitmap& image, const FormatSettings& settings);

// Writes `image` to `path` in the chosen format: a temporary file in the target folder renamed
// over the target when complete, so a failure leaves an existing file as it was. Throws
// ZentrapError with the system's error text.
void saveFormat(const Bitmap& image, const FormatSettings& settings, const std::string& path);
