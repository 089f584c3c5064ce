#include "formats/OutputFormats.h"

#include "common/AtomicFile.h"
#include "common/ZentrapError.h"
#include "formats/BmpWriter.h"
#include "formats/GifFormat.h"
#include "formats/JpegCodec.h"
#include "formats/PngWriter.h"
#include "formats/TiffWriter.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

// Counts bytes without keeping them: measuring needs only the length.
class CountingSink : public ByteSink {
public:
    void write(const void*, size_t size) override { count += size; }
    size_t count = 0;
};

// Passes bytes on to another sink and keeps a copy of them.
class CopyingSink : public ByteSink {
public:
    explicit CopyingSink(ByteSink& out) : out_(out) {}
    void write(const void* data, size_t size) override
    {
        out_.write(data, size);
        copy.write(data, size);
    }
    void reserve(size_t size) override { copy.reserve(size); }
    VectorSink copy;

private:
    ByteSink& out_;
};

void writeBmp(const Bitmap& image, const FormatSettings&, ByteSink& out)
{
    writeBmpFile(image, out);
}

void measureBmp(const Bitmap& image, const FormatSettings&, ByteSink& out)
{
    writeMeasuredBmp(image, out);
}

void writeJpegRow(const Bitmap& image, const FormatSettings& settings, ByteSink& out)
{
    writeJpeg(image, settings.jpeg, out);
}

// The pane shows the compression artefacts: the stream decoded again.
Bitmap previewJpeg(const Bitmap& image, const FormatSettings& settings, ByteSink& out)
{
    CopyingSink copying(out);
    writeJpeg(image, settings.jpeg, copying);
    return decodeJpeg(copying.copy.bytes);
}

void writeGif(const Bitmap& image, const FormatSettings& settings, ByteSink& out)
{
    writeGifVariant(image, settings.gif, out);
}

// The pane shows the reduced colours.
Bitmap previewGif(const Bitmap& image, const FormatSettings& settings, ByteSink& out)
{
    Bitmap rendered;
    writeGifVariant(image, settings.gif, out, &rendered);
    return rendered;
}

void writePngRow(const Bitmap& image, const FormatSettings&, ByteSink& out)
{
    writePng(image, out);
}

void writeTiffRow(const Bitmap& image, const FormatSettings&, ByteSink& out)
{
    writeTiff(out, image);
}

constexpr std::array<std::string_view, 1> kBmpExtensions = {"bmp"};
constexpr std::array<std::string_view, 2> kJpegExtensions = {"jpg", "jpeg"};
constexpr std::array<std::string_view, 1> kGifExtensions = {"gif"};
constexpr std::array<std::string_view, 1> kPngExtensions = {"png"};
constexpr std::array<std::string_view, 2> kTiffExtensions = {"tif", "tiff"};

const std::array<OutputFormat, 5> kFormats = {{
    {ImageFormat::Bmp, "BMP", "Bitmap files (*.bmp)", kBmpExtensions, writeBmp, measureBmp, nullptr},
    {ImageFormat::Jpeg, "JPEG", "JPEG files (*.jpg)", kJpegExtensions, writeJpegRow, writeJpegRow, previewJpeg},
    {ImageFormat::Gif, "GIF", "GIF files (*.gif)", kGifExtensions, writeGif, writeGif, previewGif},
    {ImageFormat::Png, "PNG", "PNG files (*.png)", kPngExtensions, writePngRow, writePngRow, nullptr},
    {ImageFormat::Tiff, "TIFF", "TIFF files (*.tif)", kTiffExtensions, writeTiffRow, writeTiffRow, nullptr},
}};

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::span<const OutputFormat> outputFormats()
{
    return kFormats;
}

const OutputFormat& outputFormat(ImageFormat id)
{
    const auto code = static_cast<size_t>(id);
    if (code >= kFormats.size()) {
        throw ZentrapError("Unknown image format");
    }
    return kFormats[code];
}

std::optional<ImageFormat> formatFromCode(int code)
{
    if (code < 0 || static_cast<size_t>(code) >= kFormats.size()) {
        return std::nullopt;
    }
    return kFormats[static_cast<size_t>(code)].id;
}

const OutputFormat* outputFormatNamed(std::string_view name)
{
    for (const OutputFormat& format : kFormats) {
        if (sameLetters(name, format.word) ||
            std::ranges::any_of(format.extensions, [&](std::string_view e) { return sameLetters(name, e); })) {
            return &format;
        }
    }
    return nullptr;
}

const OutputFormat* outputFormatOfFileName(std::string_view path)
{
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return nullptr;
    }
    const std::string_view extension = path.substr(dot + 1);
    for (const OutputFormat& format : kFormats) {
        if (std::ranges::any_of(format.extensions, [&](std::string_view e) { return sameLetters(extension, e); })) {
            return &format;
        }
    }
    return nullptr;
}

Measurement measureFormat(const Bitmap& image, const FormatSettings& settings)
{
    const OutputFormat& format = outputFormat(settings.format);
    Measurement m;
    CountingSink sink;
    if (format.previewIsImage()) {
        format.measure(image, settings, sink);
        m.preview = image;
    } else {
        m.preview = format.preview(image, settings, sink);
    }
    m.length = sink.count;
    return m;
}

void saveFormat(const Bitmap& image, const FormatSettings& settings, const std::string& path)
{
    const OutputFormat& format = outputFormat(settings.format);
    writeFileAtomically(path, [&](ByteSink& sink) { format.write(image, settings, sink); });
}
