#include "formats/readers/BmpReader.h"

#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };
constexpr size_t kFileHeaderSize = 14;

[[noreturn]] void fail(const std::string& what)
{
    throw ZentrapError("Damaged BMP file: " + what);
}

[[noreturn]] void truncated()
{
    throw ZentrapError("Truncated BMP file: the pixel data ends early");
}

uint32_t u16(std::span<const uint8_t> d, size_t at)
{
    return static_cast<uint32_t>(d[at] | d[at + 1] << 8);
}

uint32_t u32(std::span<const uint8_t> d, size_t at)
{
    return u16(d, at) | u16(d, at + 2) << 16;
}

struct Header {
    int64_t width = 0;
    int64_t height = 0; // positive: rows bottom-up
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;
    size_t paletteAt = 0;
    size_t paletteEntrySize = 4;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue (alpha unused)
    size_t pixelsAt = 0;
};

Header readHeader(std::span<const uint8_t> file)
{
    if (file.size() < kFileHeaderSize + 12) {
        fail("the header is incomplete");
    }
    Header h;
    h.pixelsAt = u32(file, 10);
    uint32_t infoSize = u32(file, 14);
    if (infoSize == 12) {
        h.width = u16(file, 18);
        h.height = u16(file, 20);
        h.bits = u16(file, 24);
        h.paletteEntrySize = 3;
    } else if (infoSize >= 16 && infoSize <= 124 + 1024) {
        if (file.size() < kFileHeaderSize + std::max<size_t>(infoSize, 40)) {
            fail("the header is incomplete");
        }
        h.width = static_cast<int32_t>(u32(file, 18));
        auto height = static_cast<int32_t>(u32(file, 22));
        h.topDown = height < 0;
        h.height = h.topDown ? -int64_t{height} : int64_t{height};
        h.bits = u16(file, 28);
        // OS/2 headers may stop after any field: the missing ones are 0.
        h.compression = infoSize >= 20 ? u32(file, 30) : kRgb;
        h.colorsUsed = infoSize >= 36 ? u32(file, 46) : 0;
        if (infoSize == 64 && h.compression > kBitfields) {
            fail("OS/2 Huffman and RLE24 coding are not supported");
        }
    } else {
        fail("unknown header size " + std::to_string(infoSize));
    }
    h.paletteAt = kFileHeaderSize + infoSize;
    if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
        size_t count = h.compression == kBitfields ? 3 : 4;
        size_t at = kFileHeaderSize + 40;
        if (infoSize < 52) {
            h.paletteAt += 4 * count; // the masks follow a 40-byte header
        }
        if (at + 4 * count > file.size()) {
            truncated();
        }
        for (size_t i = 0; i < count; ++i) {
            h.masks[i] = u32(file, at + 4 * i);
        }
    }
    return h;
}

void checkCombination(const Header& h)
{
    bool valid = false;
    switch (h.compression) {
    case kRgb:
        valid = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
        break;
    case kRle8:
        valid = h.bits == 8 && !h.topDown;
        break;
    case kRle4:
        valid = h.bits == 4 && !h.topDown;
        break;
    case kBitfields:
    case kAlphaBitfields:
        valid = h.bits == 16 || h.bits == 32;
        break;
    default:
        fail("compression " + std::to_string(h.compression) + " is not supported");
    }
    if (!valid) {
        fail(std::to_string(h.bits) + " bits per pixel with compression " + std::to_string(h.compression));
    }
}

std::vector<RgbQuad> readPalette(std::span<const uint8_t> file, const Header& h)
{
    size_t full = size_t{1} << h.bits;
    size_t count = h.colorsUsed == 0 || h.colorsUsed > full ? full : h.colorsUsed;
    if (h.paletteAt + count * h.paletteEntrySize > file.size()) {
        truncated();
    }
    // Indices past the stored entries show black, so the table always covers every index.
    std::vector<RgbQuad> table(full);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = file.data() + h.paletteAt + i * h.paletteEntrySize;
        table[i] = {e[0], e[1], e[2], 0};
    }
    return table;
}

int outputRow(const Header& h, int64_t fileRow)
{
    return static_cast<int>(h.topDown ? fileRow : h.height - 1 - fileRow);
}

// One channel described by a mask, scaled to 8 bits.
struct Channel {
    uint32_t mask;
    int shift;
    uint32_t maximum;
    explicit Channel(uint32_t m) : mask(m), shift(m ? std::countr_zero(m) : 0), maximum(m ? m >> shift : 0) {}
    uint8_t operator()(uint32_t pixel) const
    {
        if (maximum == 0) {
            return 0;
        }
        uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + maximum / 2) / maximum);
    }
};

// Plain rows are found by their place in the file: only the rows of `keep` are read.
Bitmap readPlain(std::span<const uint8_t> file, const Header& h, Size keep)
{
    const auto height = static_cast<int>(h.height);
    const size_t fileStride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
    if (h.pixelsAt > file.size() || (file.size() - h.pixelsAt) / fileStride < static_cast<size_t>(height)) {
        truncated();
    }
    const uint8_t* pixels = file.data() + h.pixelsAt;
    const int width = keep.width;
    auto kept = [&](int64_t fileRow) { return outputRow(h, fileRow) < keep.height; };
    if (h.bits <= 8) {
        Bitmap out(width, keep.height, static_cast<PixelFormat>(h.bits));
        out.setColorTable(readPalette(file, h));
        const size_t bytes = std::min(out.stride(), fileStride);
        for (int64_t y = 0; y < height; ++y) {
            if (kept(y)) {
                std::memcpy(out.row(outputRow(h, y)), pixels + y * fileStride, bytes);
            }
        }
        return out;
    }
    Bitmap out(width, keep.height, PixelFormat::Bpp24);
    bool masked = h.compression != kRgb;
    Channel red(masked ? h.masks[0] : h.bits == 16 ? 0x7C00U : 0xFF0000U);
    Channel green(masked ? h.masks[1] : h.bits == 16 ? 0x03E0U : 0x00FF00U);
    Channel blue(masked ? h.masks[2] : h.bits == 16 ? 0x001FU : 0x0000FFU);
    for (int64_t y = 0; y < height; ++y) {
        if (!kept(y)) {
            continue;
        }
        const uint8_t* in = pixels + y * fileStride;
        uint8_t* o = out.row(outputRow(h, y));
        if (h.bits == 24) {
            std::memcpy(o, in, static_cast<size_t>(width) * 3);
            continue;
        }
        for (int x = 0; x < width; ++x, o += 3) {
            uint32_t p = h.bits == 16 ? u16(file, h.pixelsAt + y * fileStride + 2 * x)
                                      : u32(file, h.pixelsAt + y * fileStride + 4 * size_t(x));
            o[0] = blue(p);
            o[1] = green(p);
            o[2] = red(p);
        }
    }
    return out;
}

// Run-length coded 8- or 4-bit rows, bottom-up. Pixels that the codes skip stay index 0.
Bitmap readRunLength(std::span<const uint8_t> file, const Header& h, Size keep)
{
    Bitmap out(keep.width, keep.height, static_cast<PixelFormat>(h.bits));
    out.setColorTable(readPalette(file, h));
    const bool four = h.bits == 4;
    size_t at = h.pixelsAt;
    int64_t x = 0;
    int64_t y = 0; // file row, 0 is the bottom
    auto put = [&](uint32_t index) {
        if (x < keep.width && y < h.height && outputRow(h, y) < keep.height) {
            out.setPixelValue(static_cast<int>(x), outputRow(h, y), index);
        }
        ++x;
    };
    auto need = [&](size_t bytes) {
        if (at > file.size() || file.size() - at < bytes) {
            truncated();
        }
    };
    for (;;) {
        need(2);
        uint32_t count = file[at];
        uint32_t value = file[at + 1];
        at += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count && x < h.width; ++i) {
                put(four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
            }
            continue;
        }
        if (value == 0) { // end of row
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return out;
        } else if (value == 2) { // move right and up
            need(2);
            x += file[at];
            y += file[at + 1];
            at += 2;
        } else { // `value` literal pixels, padded to a 16-bit boundary
            size_t bytes = four ? (value + 1) / 2 : value;
            need(bytes + bytes % 2);
            for (uint32_t i = 0; i < value; ++i) {
                uint8_t b = file[at + (four ? i / 2 : i)];
                put(four ? (i % 2 == 0 ? b >> 4 : b & 0xF) : b);
            }
            at += bytes + bytes % 2;
        }
        if (y >= h.height) {
            return out; // rows past the top: nothing more can be drawn
        }
    }
}

} // namespace

Bitmap readBmp(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part)
{
    Header h = readHeader(file);
    checkImageSize(h.width, h.height, limits);
    checkCombination(h);
    Size keep{static_cast<int>(h.width), static_cast<int>(h.height)};
    if (part != nullptr) {
        part->picture = keep;
        keep = part->within(keep.width, keep.height);
    }
    if (h.compression == kRle8 || h.compression == kRle4) {
        return readRunLength(file, h, keep);
    }
    return readPlain(file, h, keep);
}
