#include "formats/PngWriter.h"

#include "common/ZentrapError.h"
#include "formats/BmpChannelOrder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::array<uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr size_t kDeflateBufferSize = 64 * 1024;
constexpr uint32_t kMaxDimension = 0x7FFFFFFF;

void putBE32(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

PngChunk makeChunk(std::string_view type)
{
    PngChunk chunk;
    if (type.size() != 4) {
        throw ZentrapError("Invalid PNG chunk type");
    }
    std::copy(type.begin(), type.end(), chunk.type.begin());
    return chunk;
}

bool writesIndexed(const Bitmap& bitmap)
{
    return isIndexed(bitmap.pixelFormat());
}

// Row bytes as the file stores them: RGB for truecolour, packed indices as the bitmap holds them.
size_t pngRowBytes(const Bitmap& bitmap)
{
    if (writesIndexed(bitmap)) {
        return (static_cast<size_t>(bitmap.width()) * static_cast<size_t>(bitmap.bitsPerPixel()) + 7) / 8;
    }
    return static_cast<size_t>(bitmap.width()) * 3;
}

// Streams filtered rows through deflate; compressed data leaves through a 64 KiB buffer.
class IdatCompressor {
public:
    explicit IdatCompressor(std::vector<uint8_t>& out) : out_(out), buffer_(kDeflateBufferSize)
    {
        if (deflateInit(&stream_, Z_DEFAULT_COMPRESSION) != Z_OK) {
            throw ZentrapError("Cannot start the PNG compressor");
        }
    }
    ~IdatCompressor() { deflateEnd(&stream_); }
    IdatCompressor(const IdatCompressor&) = delete;
    IdatCompressor& operator=(const IdatCompressor&) = delete;

    void add(std::span<const uint8_t> bytes) { run(bytes, Z_NO_FLUSH); }
    void finish() { run({}, Z_FINISH); }

private:
    void run(std::span<const uint8_t> bytes, int flush)
    {
        // zlib never writes through next_in.
        stream_.next_in = const_cast<Bytef*>(bytes.data());
        stream_.avail_in = static_cast<uInt>(bytes.size());
        for (;;) {
            stream_.next_out = buffer_.data();
            stream_.avail_out = static_cast<uInt>(buffer_.size());
            int status = deflate(&stream_, flush);
            if (status == Z_STREAM_ERROR) {
                throw ZentrapError("PNG compression failed");
            }
            out_.insert(out_.end(), buffer_.data(), buffer_.data() + (buffer_.size() - stream_.avail_out));
            if (flush == Z_FINISH ? status == Z_STREAM_END : (stream_.avail_in == 0 && stream_.avail_out != 0)) {
                return;
            }
        }
    }

    std::vector<uint8_t>& out_;
    std::vector<uint8_t> buffer_;
    z_stream stream_{};
};

void writeChunk(const PngChunk& chunk, ByteSink& out)
{
    if (chunk.data.size() > kMaxDimension) {
        throw ZentrapError("The image is too large for the PNG format");
    }
    uint8_t head[8];
    putBE32(head, static_cast<uint32_t>(chunk.data.size()));
    std::memcpy(head + 4, chunk.type.data(), 4);
    out.write(head, sizeof head);
    if (!chunk.data.empty()) {
        out.write(chunk.data.data(), chunk.data.size());
    }
    uint8_t crc[4];
    putBE32(crc, pngChunkCrc(chunk));
    out.write(crc, sizeof crc);
}

} // namespace

PngChunk& PngChunkList::add(std::string_view type)
{
    chunks_.push_back(makeChunk(type));
    return chunks_.back();
}

PngChunk& PngChunkList::insertAfter(std::string_view after, std::string_view type)
{
    auto at = std::find_if(chunks_.begin(), chunks_.end(), [&](const PngChunk& c) { return c.is(after); });
    if (at != chunks_.end()) {
        ++at;
    }
    return *chunks_.insert(at, makeChunk(type));
}

void PngChunkList::remove(std::string_view type)
{
    std::erase_if(chunks_, [&](const PngChunk& c) { return c.is(type); });
}

PngChunk* PngChunkList::find(std::string_view type)
{
    auto at = std::find_if(chunks_.begin(), chunks_.end(), [&](const PngChunk& c) { return c.is(type); });
    return at == chunks_.end() ? nullptr : &*at;
}

uint32_t pngChunkCrc(const PngChunk& chunk)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.type.data()), 4);
    // zlib takes lengths as uInt: feed large data in pieces.
    const uint8_t* p = chunk.data.data();
    size_t left = chunk.data.size();
    while (left > 0) {
        auto piece = static_cast<uInt>(std::min<size_t>(left, std::numeric_limits<uInt>::max()));
        crc = crc32(crc, p, piece);
        p += piece;
        left -= piece;
    }
    return static_cast<uint32_t>(crc);
}

PngImage::PngImage()
{
    chunks_.add("IHDR");
    chunks_.add("IDAT");
    chunks_.add("IEND");
}

void PngImage::assign(const Bitmap& bitmap)
{
    bitmap_ = bitmap;
    source_ = &bitmap_;
}

void PngImage::refer(const Bitmap& bitmap)
{
    bitmap_ = Bitmap();
    source_ = &bitmap;
}

void PngImage::prepareChunks()
{
    // The images written here are never transparent.
    chunks_.remove("tRNS");
    if (writesIndexed(*source_)) {
        if (!chunks_.find("PLTE")) {
            chunks_.insertAfter("IHDR", "PLTE");
        }
    } else {
        chunks_.remove("PLTE");
    }
}

std::vector<uint8_t> PngImage::headerData() const
{
    std::vector<uint8_t> data(13, 0);
    putBE32(data.data(), static_cast<uint32_t>(source_->width()));
    putBE32(data.data() + 4, static_cast<uint32_t>(source_->height()));
    data[8] = static_cast<uint8_t>(writesIndexed(*source_) ? source_->bitsPerPixel() : 8);
    data[9] = writesIndexed(*source_) ? 3 : 2;
    // Compression, filter and interlace methods stay 0.
    return data;
}

std::vector<uint8_t> PngImage::paletteData() const
{
    size_t limit = size_t{1} << source_->bitsPerPixel();
    std::vector<RgbQuad> table =
        source_->colorTable().empty() ? greyRamp(static_cast<int>(limit)) : source_->colorTable();
    // A palette longer than the bit depth can address is not valid PNG.
    table.resize(std::min(table.size(), limit));
    std::vector<uint8_t> data;
    data.reserve(table.size() * 3);
    for (const RgbQuad& q : table) {
        data.push_back(q.red);
        data.push_back(q.green);
        data.push_back(q.blue);
    }
    return data;
}

std::vector<uint8_t> PngImage::imageData() const
{
    const size_t rowBytes = pngRowBytes(*source_);
    const bool indexed = writesIndexed(*source_);
    std::vector<uint8_t> compressed;
    IdatCompressor compressor(compressed);
    PngRowFilter filter(rowBytes, indexed ? 1 : 3, filters_);
    std::vector<uint8_t> rgb(indexed ? 0 : rowBytes);
    for (int y = 0; y < source_->height(); ++y) {
        const uint8_t* row = source_->row(y);
        if (!indexed) {
            bgrRowToRgb(row, rgb.data(), static_cast<size_t>(source_->width()), source_->bitsPerPixel());
            row = rgb.data();
        }
        compressor.add(filter.filterRow(row));
    }
    compressor.finish();
    return compressed;
}

void PngImage::saveToStream(ByteSink& out)
{
    if (source_->isEmpty()) {
        throw ZentrapError("The image is empty");
    }
    prepareChunks();
    if (PngChunk* header = chunks_.find("IHDR")) {
        header->data = headerData();
    }
    if (PngChunk* palette = chunks_.find("PLTE")) {
        palette->data = paletteData();
    }
    if (PngChunk* data = chunks_.find("IDAT")) {
        data->data = imageData();
    }
    out.write(kSignature.data(), kSignature.size());
    for (const PngChunk& chunk : chunks_.chunks()) {
        writeChunk(chunk, out);
    }
}

void writePng(const Bitmap& bitmap, ByteSink& out)
{
    PngImage png;
    png.refer(bitmap);
    png.saveToStream(out);
}
