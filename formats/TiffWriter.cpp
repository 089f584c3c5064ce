#include "formats/TiffWriter.h"

#include "common/ZentrapError.h"
#include "formats/BmpChannelOrder.h"

#include <array>
#include <limits>
#include <vector>

namespace {

enum FieldType : uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

constexpr std::array<uint8_t, 8> kResolution = {0x6D, 0x03, 0, 0, 0x0A, 0, 0, 0}; // 877 / 10
constexpr std::array<uint8_t, 10> kSoftware = {'V', 'o', 'r', 'n', 'a', ' ', 's', 'o', 'f', 't'};
constexpr std::array<uint8_t, 6> kRgbBitsPerSample = {8, 0, 8, 0, 8, 0};
constexpr uint32_t kHeaderSize = 8;
constexpr uint32_t kMaxSide = 0xFFFF;

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;
};

// Collects little-endian bytes of the small parts of the file (header, directory).
class LittleEndianBytes {
public:
    void u16(uint32_t v)
    {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void flushTo(ByteSink& out)
    {
        out.write(bytes_.data(), bytes_.size());
        bytes_.clear();
    }

private:
    std::vector<uint8_t> bytes_;
};

void writeHeader(ByteSink& out, uint32_t ifdOffset)
{
    LittleEndianBytes b;
    b.u16(0x4949); // "II"
    b.u16(42);
    b.u32(ifdOffset);
    b.flushTo(out);
}

template <size_t N> void writeBlock(ByteSink& out, const std::array<uint8_t, N>& block)
{
    out.write(block.data(), block.size());
}

void writeDirectory(ByteSink& out, const std::vector<Entry>& entries)
{
    LittleEndianBytes b;
    b.u16(static_cast<uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        b.u16(e.tag);
        b.u16(e.type);
        b.u32(e.count);
        // A single SHORT stands in the first two bytes of the value field.
        b.u32(e.value);
    }
    b.u32(0); // no next directory
    b.flushTo(out);
}

constexpr uint32_t directorySize(size_t entries)
{
    return static_cast<uint32_t>(2 + 12 * entries + 4);
}

// Row bytes of the file and the width it records, by layout.
struct Layout {
    int bits;          // 1, 4, 8 or 24 (32 is written as 24)
    uint32_t width;    // ImageWidth: a 4-bit width is cut down to a multiple of 4
    uint32_t rowBytes; // bytes of each file row
    uint32_t colors;   // palette layout only
};

// How a 1-bit image's two colours fit the bilevel layout, whose 0 bit is always black.
enum class TwoColours { BlackThenWhite, WhiteThenBlack, Other };

// The colours that indices 0 and 1 show, by the bitmap's own rule for short or missing tables.
std::array<ColorRef, 2> indexColours(const Bitmap& bitmap)
{
    Bitmap probe(2, 1, PixelFormat::Bpp1);
    probe.setColorTable(bitmap.colorTable());
    probe.setPixelValue(1, 0, 1);
    return {probe.pixelColor(0, 0), probe.pixelColor(1, 0)};
}

TwoColours twoColoursOf(const Bitmap& bitmap)
{
    constexpr ColorRef kBlack = 0x000000;
    constexpr ColorRef kWhite = 0xFFFFFF;
    auto [zero, one] = indexColours(bitmap);
    if (zero == kBlack && one == kWhite) {
        return TwoColours::BlackThenWhite;
    }
    if (zero == kWhite && one == kBlack) {
        return TwoColours::WhiteThenBlack;
    }
    return TwoColours::Other;
}

Layout layoutOf(const Bitmap& bitmap)
{
    auto w = static_cast<uint32_t>(bitmap.width());
    switch (bitmap.pixelFormat()) {
    case PixelFormat::Bpp1:
        if (twoColoursOf(bitmap) == TwoColours::Other) {
            return {8, w, w, 256}; // any other two colours need the palette layout
        }
        return {1, w, (w + 7) / 8, 0};
    case PixelFormat::Bpp4: {
        uint32_t cut = (w / 4) * 4;
        return {4, cut, cut / 2, 16};
    }
    case PixelFormat::Bpp8:
        return {8, w, w, 256};
    default:
        return {24, w, 3 * w, 0};
    }
}

uint64_t pixelBytes(const Layout& layout, const Bitmap& bitmap)
{
    return uint64_t{layout.rowBytes} * static_cast<uint64_t>(bitmap.height());
}

void writeRows(ByteSink& out, const Bitmap& bitmap, const Layout& layout)
{
    for (int y = 0; y < bitmap.height(); ++y) {
        out.write(bitmap.row(y), layout.rowBytes);
    }
}

// A 1-bit image of two other colours as an 8-bit one with the same indices and a two-entry table.
Bitmap asEightBit(const Bitmap& bitmap)
{
    Bitmap out(bitmap.width(), bitmap.height(), PixelFormat::Bpp8);
    std::vector<RgbQuad> table;
    for (ColorRef c : indexColours(bitmap)) {
        table.push_back({blueOf(c), greenOf(c), redOf(c), 0});
    }
    out.setColorTable(std::move(table));
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            out.row(y)[x] = static_cast<uint8_t>(bitmap.pixelValue(x, y));
        }
    }
    return out;
}

// White-then-black tables keep their picture in the bilevel layout by writing every bit inverted.
void writeInvertedRows(ByteSink& out, const Bitmap& bitmap, const Layout& layout)
{
    std::vector<uint8_t> row(layout.rowBytes);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint8_t* in = bitmap.row(y);
        for (size_t i = 0; i < row.size(); ++i) {
            row[i] = static_cast<uint8_t>(~in[i]);
        }
        out.write(row.data(), row.size());
    }
}

// Blue, green, red (and a fourth byte at 32 bits) become red, green, blue, one row at a time.
void writeRgbRows(ByteSink& out, const Bitmap& bitmap)
{
    std::vector<uint8_t> row(static_cast<size_t>(bitmap.width()) * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
        bgrRowToRgb(bitmap.row(y), row.data(), static_cast<size_t>(bitmap.width()), bitmap.bitsPerPixel());
        out.write(row.data(), row.size());
    }
}

// The colour map: all reds, then all greens, then all blues, each component times 256.
std::vector<uint8_t> colorMap(const Bitmap& bitmap, uint32_t colors)
{
    const std::vector<RgbQuad>& table = bitmap.colorTable();
    std::vector<RgbQuad> ramp;
    const std::vector<RgbQuad>* source = &table;
    if (table.empty()) {
        ramp = greyRamp(static_cast<int>(colors));
        source = &ramp;
    }
    std::vector<uint8_t> map(6 * colors, 0);
    for (uint32_t i = 0; i < colors && i < source->size(); ++i) {
        const RgbQuad& q = (*source)[i];
        map[2 * i + 1] = q.red;
        map[2 * (colors + i) + 1] = q.green;
        map[2 * (2 * colors + i) + 1] = q.blue;
    }
    return map;
}

std::vector<Entry> commonEntries(const Bitmap& bitmap, const Layout& layout, uint16_t photometric, uint32_t stripOffset,
                                 uint32_t bitsValue, uint32_t bitsCount)
{
    auto h = static_cast<uint32_t>(bitmap.height());
    return {
        {254, kLong, 1, 0},           {256, kShort, 1, layout.width},
        {257, kShort, 1, h},          {258, kShort, bitsCount, bitsValue},
        {259, kShort, 1, 1},          {262, kShort, 1, photometric},
        {273, kLong, 1, stripOffset}, {277, kShort, 1, layout.bits == 24 ? 3U : 1U},
        {278, kLong, 1, h},           {279, kLong, 1, layout.rowBytes * h},
    };
}

void appendResolutionAndSoftware(std::vector<Entry>& entries, uint32_t at, bool planar)
{
    entries.push_back({282, kRational, 1, at});
    entries.push_back({283, kRational, 1, at + 8});
    if (planar) {
        entries.push_back({284, kShort, 1, 1});
    }
    entries.push_back({296, kShort, 1, 2});
}

void writeBilevel(ByteSink& out, const Bitmap& bitmap, const Layout& layout)
{
    auto data = static_cast<uint32_t>(pixelBytes(layout, bitmap));
    uint32_t resolutionAt = kHeaderSize + data;
    uint32_t softwareAt = resolutionAt + 16;
    uint32_t ifdAt = softwareAt + kSoftware.size();
    std::vector<Entry> entries = commonEntries(bitmap, layout, 1, kHeaderSize, 1, 1);
    appendResolutionAndSoftware(entries, resolutionAt, false);
    entries.push_back({305, kAscii, kSoftware.size(), softwareAt});

    writeHeader(out, ifdAt);
    if (twoColoursOf(bitmap) == TwoColours::WhiteThenBlack) {
        writeInvertedRows(out, bitmap, layout);
    } else {
        writeRows(out, bitmap, layout);
    }
    writeBlock(out, kResolution);
    writeBlock(out, kResolution);
    writeBlock(out, kSoftware);
    writeDirectory(out, entries);
}

void writePalette(ByteSink& out, const Bitmap& bitmap, const Layout& layout)
{
    const uint32_t n = layout.colors;
    auto data = static_cast<uint32_t>(pixelBytes(layout, bitmap));
    uint32_t resolutionAt = kHeaderSize + 6 * n;
    uint32_t softwareAt = resolutionAt + 16;
    uint32_t stripAt = softwareAt + kSoftware.size();
    uint32_t ifdAt = stripAt + data;
    std::vector<Entry> entries = commonEntries(bitmap, layout, 3, stripAt, static_cast<uint32_t>(layout.bits), 1);
    appendResolutionAndSoftware(entries, resolutionAt, false);
    entries.push_back({305, kAscii, kSoftware.size(), softwareAt});
    entries.push_back({320, kShort, 3 * n, kHeaderSize});

    writeHeader(out, ifdAt);
    std::vector<uint8_t> map = colorMap(bitmap, n);
    out.write(map.data(), map.size());
    writeBlock(out, kResolution);
    writeBlock(out, kResolution);
    writeBlock(out, kSoftware);
    writeRows(out, bitmap, layout);
    writeDirectory(out, entries);
}

void writeRgb(ByteSink& out, const Bitmap& bitmap, const Layout& layout)
{
    constexpr uint32_t resolutionAt = kHeaderSize;
    constexpr uint32_t bitsAt = resolutionAt + 16;
    constexpr uint32_t softwareAt = bitsAt + kRgbBitsPerSample.size();
    constexpr uint32_t stripAt = softwareAt + kSoftware.size();
    auto data = static_cast<uint32_t>(pixelBytes(layout, bitmap));
    uint32_t ifdAt = stripAt + data;
    std::vector<Entry> entries = commonEntries(bitmap, layout, 2, stripAt, bitsAt, 3);
    appendResolutionAndSoftware(entries, resolutionAt, true);
    entries.push_back({305, kAscii, kSoftware.size(), softwareAt});

    writeHeader(out, ifdAt);
    writeBlock(out, kResolution);
    writeBlock(out, kResolution);
    writeBlock(out, kRgbBitsPerSample);
    writeBlock(out, kSoftware);
    writeRgbRows(out, bitmap);
    writeDirectory(out, entries);
}

uint64_t fixedBytes(const Layout& layout)
{
    const uint64_t blocks = 16 + kSoftware.size();
    switch (layout.bits) {
    case 1:
        return kHeaderSize + blocks + directorySize(14);
    case 24:
        return kHeaderSize + blocks + kRgbBitsPerSample.size() + directorySize(15);
    default:
        return kHeaderSize + 6ULL * layout.colors + blocks + directorySize(15);
    }
}

} // namespace

uint64_t tiffFileSize(const Bitmap& bitmap)
{
    if (bitmap.isEmpty()) {
        return 0;
    }
    Layout layout = layoutOf(bitmap);
    return fixedBytes(layout) + pixelBytes(layout, bitmap);
}

void writeTiff(ByteSink& stream, const Bitmap& bitmap)
{
    if (bitmap.isEmpty()) {
        return;
    }
    if (static_cast<uint32_t>(bitmap.width()) > kMaxSide || static_cast<uint32_t>(bitmap.height()) > kMaxSide) {
        throw ZentrapError("The image is too large for the TIFF format (at most 65535 pixels on a side)");
    }
    Layout layout = layoutOf(bitmap);
    if (layout.width == 0) {
        // A 4-bit row narrower than 4 pixels would leave no columns: not a valid file.
        throw ZentrapError("The image is too narrow for the TIFF format");
    }
    uint64_t total = tiffFileSize(bitmap);
    if (total > std::numeric_limits<uint32_t>::max()) {
        throw ZentrapError("The image is too large for the TIFF format");
    }
    stream.reserve(static_cast<size_t>(total));
    switch (layout.bits) {
    case 1:
        writeBilevel(stream, bitmap, layout);
        break;
    case 24:
        writeRgb(stream, bitmap, layout);
        break;
    default:
        if (bitmap.pixelFormat() == PixelFormat::Bpp1) {
            writePalette(stream, asEightBit(bitmap), layout);
        } else {
            writePalette(stream, bitmap, layout);
        }
        break;
    }
}
