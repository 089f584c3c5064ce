#include "formats/BmpWriter.h"

#include "common/ZentrapError.h"

#include <array>
#include <limits>

static_assert(sizeof(RgbQuad) == 4, "colour-table entries are written as they are held");

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
// 96 pixels per inch, the usual screen resolution.
constexpr int32_t kPixelsPerMetre = 3780;

template <size_t N> void putLE(std::array<uint8_t, N>& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
}

} // namespace

std::vector<RgbQuad> bmpColorTable(const Bitmap& image)
{
    if (image.pixelFormat() == PixelFormat::Bpp24 && image.systemPalette()) {
        std::vector<RgbQuad> table;
        for (const PaletteEntry& e : *image.systemPalette()) {
            if (table.size() == Bitmap::kMaxColorTable) {
                break;
            }
            table.push_back({e.blue, e.green, e.red, 0});
        }
        return table;
    }
    if (!isIndexed(image.pixelFormat())) {
        return {};
    }
    size_t limit = size_t{1} << image.bitsPerPixel();
    std::vector<RgbQuad> table = image.colorTable().empty() ? greyRamp(static_cast<int>(limit)) : image.colorTable();
    if (table.size() > limit) {
        table.resize(limit);
    }
    for (RgbQuad& q : table) {
        q.reserved = 0;
    }
    return table;
}

uint64_t bmpFileSize(const Bitmap& image)
{
    if (image.isEmpty()) {
        throw ZentrapError("The image is empty");
    }
    uint64_t size = kFileHeaderSize + kInfoHeaderSize + 4ULL * bmpColorTable(image).size() +
                    static_cast<uint64_t>(image.stride()) * static_cast<uint64_t>(image.height());
    if (size > std::numeric_limits<uint32_t>::max()) {
        throw ZentrapError("The image is too large for the BMP format");
    }
    return size;
}

void writeBmpFile(const Bitmap& image, ByteSink& out)
{
    uint64_t fileSize = bmpFileSize(image);
    std::vector<RgbQuad> table = bmpColorTable(image);
    auto tableBytes = static_cast<uint32_t>(4 * table.size());
    auto imageBytes = static_cast<uint32_t>(image.stride() * static_cast<size_t>(image.height()));

    std::array<uint8_t, kFileHeaderSize + kInfoHeaderSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    putLE(header, 2, static_cast<uint32_t>(fileSize), 4);
    putLE(header, 10, kFileHeaderSize + kInfoHeaderSize + tableBytes, 4);
    putLE(header, 14, kInfoHeaderSize, 4);
    putLE(header, 18, static_cast<uint32_t>(image.width()), 4);
    putLE(header, 22, static_cast<uint32_t>(image.height()), 4); // positive: rows bottom-up
    putLE(header, 26, 1, 2);
    putLE(header, 28, static_cast<uint32_t>(image.bitsPerPixel()), 2);
    putLE(header, 30, 0, 4); // no compression
    putLE(header, 34, imageBytes, 4);
    putLE(header, 38, kPixelsPerMetre, 4);
    putLE(header, 42, kPixelsPerMetre, 4);
    putLE(header, 46, static_cast<uint32_t>(table.size()), 4);
    putLE(header, 50, 0, 4);

    out.reserve(static_cast<size_t>(fileSize));
    out.write(header.data(), header.size());
    if (!table.empty()) {
        out.write(table.data(), tableBytes);
    }
    // Fill bytes are written as zeros whatever the bitmap holds there.
    size_t used = (static_cast<size_t>(image.width()) * static_cast<size_t>(image.bitsPerPixel()) + 7) / 8;
    const std::array<uint8_t, 4> zeros{};
    for (int y = image.height() - 1; y >= 0; --y) {
        out.write(image.row(y), used);
        if (image.stride() > used) {
            out.write(zeros.data(), image.stride() - used);
        }
    }
}

void writeMeasuredBmp(const Bitmap& image, ByteSink& out)
{
    if (image.pixelFormat() == PixelFormat::Bpp24) {
        writeBmpFile(image, out);
        return;
    }
    writeBmpFile(image.converted(PixelFormat::Bpp24), out);
}
