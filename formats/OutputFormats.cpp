#include "formats/OutputFormats.h"

#include "common/AtomicFile.h"
#include "common/ByteSink.h"
#include "common/ZentrapError.h"
#include "formats/BmpWriter.h"
#include "formats/JpegCodec.h"
#include "formats/PngWriter.h"
#include "formats/TiffWriter.h"

#include <span>

namespace {

// Counts bytes without keeping them: measuring BMP needs only the length.
class CountingSink : public ByteSink {
public:
    void write(const void*, size_t size) override { count += size; }
    size_t count = 0;
};

} // namespace

Measurement measureFormat(const Bitmap& image, FormatSettings& settings)
{
    Measurement m;
    switch (settings.format) {
    case ImageFormat::Bmp: {
        CountingSink sink;
        writeMeasuredBmp(image, sink);
        m.length = sink.count;
        m.preview = image;
        break;
    }
    case ImageFormat::Jpeg: {
        std::vector<uint8_t> bytes = encodeJpeg(image, settings.jpeg.quality, settings.jpeg.progressive);
        m.length = bytes.size();
        m.preview = decodeJpeg(bytes);
        break;
    }
    case ImageFormat::Gif: {
        VectorSink sink;
        writeGifVariant(image, settings.gif, sink, &m.preview);
        m.length = sink.bytes.size();
        break;
    }
    case ImageFormat::Png: {
        PngImage png;
        png.refer(image);
        VectorSink sink;
        png.saveToStream(sink);
        m.length = sink.bytes.size();
        m.preview = png.bitmap();
        break;
    }
    case ImageFormat::Tiff: {
        VectorSink sink;
        writeTiff(sink, image);
        m.length = sink.bytes.size();
        m.preview = image;
        break;
    }
    default:
        throw ZentrapError("Unknown image format");
    }
    return m;
}

void saveFormat(const Bitmap& image, FormatSettings& settings, const std::string& path)
{
    switch (settings.format) {
    case ImageFormat::Bmp:
        writeFileAtomically(path, [&](ByteSink& sink) { writeBmpFile(image, sink); });
        return;
    case ImageFormat::Jpeg: {
        // Encoded before the file is touched, so a libjpeg error leaves no trace.
        std::vector<uint8_t> bytes = encodeJpeg(image, settings.jpeg.quality, settings.jpeg.progressive);
        writeFileAtomically(path, [&](ByteSink& sink) { sink.write(bytes.data(), bytes.size()); });
        return;
    }
    case ImageFormat::Gif:
        writeFileAtomically(path, [&](ByteSink& sink) { writeGifVariant(image, settings.gif, sink); });
        return;
    case ImageFormat::Png:
        writeFileAtomically(path, [&](ByteSink& sink) { writePng(image, sink); });
        return;
    case ImageFormat::Tiff:
        saveTiffFile(path, image);
        return;
    }
    throw ZentrapError("Unknown image format");
}
