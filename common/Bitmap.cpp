#include "common/Bitmap.h"

#include "common/ZentrapError.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr int kMaxDimension = 1 << 20;

void checkDimensions(int width, int height)
{
    if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension) {
        throw ZentrapError("Invalid bitmap size");
    }
}

uint32_t readIndex(const uint8_t* row, int x, int bpp)
{
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1U;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0FU) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

void writeIndex(uint8_t* row, int x, int bpp, uint32_t value)
{
    switch (bpp) {
    case 1: {
        auto mask = static_cast<uint8_t>(0x80U >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((value & 1U) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
        break;
    }
    case 4:
        if (x & 1) {
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0U) | (value & 0x0FU));
        } else {
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0FU) | ((value & 0x0FU) << 4));
        }
        break;
    default:
        row[x] = static_cast<uint8_t>(value);
        break;
    }
}

} // namespace

size_t dibStride(int width, PixelFormat format)
{
    size_t bits = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel(format));
    return ((bits + 31) / 32) * 4;
}

std::vector<RgbQuad> greyRamp(int entries)
{
    std::vector<RgbQuad> table(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        auto v = static_cast<uint8_t>(entries > 1 ? i * 255 / (entries - 1) : 0);
        table[static_cast<size_t>(i)] = {v, v, v, 0};
    }
    return table;
}

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format)
{
    setSize(width, height);
}

void Bitmap::setSize(int width, int height)
{
    checkDimensions(width, height);
    if (width == width_ && height == height_ && !pixels_.empty()) {
        return;
    }
    size_t newStride = dibStride(width, format_);
    if (height > 0 && newStride > std::numeric_limits<size_t>::max() / static_cast<size_t>(height)) {
        throw ZentrapError("Invalid bitmap size");
    }
    std::vector<uint8_t> fresh(newStride * static_cast<size_t>(height), 0);
    int keepRows = std::min(height, height_);
    size_t keepBytes = std::min(newStride, stride_);
    if (width < width_) {
        keepBytes = std::min(keepBytes, (static_cast<size_t>(width) * bitsPerPixel() + 7) / 8);
    }
    for (int y = 0; y < keepRows; ++y) {
        std::memcpy(fresh.data() + static_cast<size_t>(y) * newStride, row(y), keepBytes);
    }
    bool narrower = width < width_;
    pixels_ = std::move(fresh);
    width_ = width;
    height_ = height;
    stride_ = newStride;
    // Bits of a partly kept byte beyond the new width must not show up as new pixels later.
    if (narrower && bitsPerPixel() < 8) {
        int pixelsPerRow = static_cast<int>(stride_ * 8 / static_cast<size_t>(bitsPerPixel()));
        for (int y = 0; y < keepRows; ++y) {
            for (int x = width_; x < pixelsPerRow; ++x) {
                writeIndex(row(y), x, bitsPerPixel(), 0);
            }
        }
    }
}

void Bitmap::setPixelFormat(PixelFormat format)
{
    if (format == format_) {
        return;
    }
    Bitmap copy = converted(format);
    *this = std::move(copy);
}

void Bitmap::setColorTable(std::vector<RgbQuad> table)
{
    if (table.size() > kMaxColorTable) {
        table.resize(kMaxColorTable);
    }
    colorTable_ = std::move(table);
}

uint32_t Bitmap::pixelValue(int x, int y) const
{
    const uint8_t* r = row(y);
    switch (format_) {
    case PixelFormat::Bpp24: {
        const uint8_t* p = r + static_cast<size_t>(x) * 3;
        return makeColor(p[2], p[1], p[0]);
    }
    case PixelFormat::Bpp32: {
        const uint8_t* p = r + static_cast<size_t>(x) * 4;
        return makeColor(p[2], p[1], p[0]);
    }
    default:
        return readIndex(r, x, bitsPerPixel());
    }
}

void Bitmap::setPixelValue(int x, int y, uint32_t value)
{
    uint8_t* r = row(y);
    switch (format_) {
    case PixelFormat::Bpp24: {
        uint8_t* p = r + static_cast<size_t>(x) * 3;
        p[0] = blueOf(value);
        p[1] = greenOf(value);
        p[2] = redOf(value);
        break;
    }
    case PixelFormat::Bpp32: {
        uint8_t* p = r + static_cast<size_t>(x) * 4;
        p[0] = blueOf(value);
        p[1] = greenOf(value);
        p[2] = redOf(value);
        p[3] = 0;
        break;
    }
    default:
        writeIndex(r, x, bitsPerPixel(), value);
        break;
    }
}

ColorRef Bitmap::pixelColor(int x, int y) const
{
    uint32_t v = pixelValue(x, y);
    if (!isIndexed(format_)) {
        return v;
    }
    if (v < colorTable_.size()) {
        const RgbQuad& q = colorTable_[v];
        return makeColor(q.red, q.green, q.blue);
    }
    int entries = 1 << bitsPerPixel();
    auto grey = static_cast<uint8_t>(entries > 1 ? v * 255 / static_cast<uint32_t>(entries - 1) : 0);
    return makeColor(grey, grey, grey);
}

int Bitmap::nearestTableIndex(ColorRef color) const
{
    std::vector<RgbQuad> ramp;
    const std::vector<RgbQuad>* table = &colorTable_;
    if (table->empty()) {
        ramp = greyRamp(1 << bitsPerPixel());
        table = &ramp;
    }
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < table->size(); ++i) {
        const RgbQuad& q = (*table)[i];
        int dr = q.red - redOf(color);
        int dg = q.green - greenOf(color);
        int db = q.blue - blueOf(color);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void Bitmap::copyRect(Point destTopLeft, const Bitmap& src, const Rect& srcRect)
{
    if (src.format_ != format_) {
        throw ZentrapError("Pixel formats differ");
    }
    Rect from = srcRect.intersected({0, 0, src.width_, src.height_});
    // Shift the destination by what clipping removed from the source.
    Point to{destTopLeft.x + (from.left - srcRect.left), destTopLeft.y + (from.top - srcRect.top)};
    Rect dest = Rect::fromSize(to.x, to.y, from.width(), from.height()).intersected({0, 0, width_, height_});
    if (dest.isEmpty()) {
        return;
    }
    int sx0 = from.left + (dest.left - to.x);
    int sy0 = from.top + (dest.top - to.y);
    int bpp = bitsPerPixel();
    if (bpp >= 8) {
        size_t bytesPerPixel = static_cast<size_t>(bpp / 8);
        for (int y = 0; y < dest.height(); ++y) {
            std::memmove(row(dest.top + y) + static_cast<size_t>(dest.left) * bytesPerPixel,
                         src.row(sy0 + y) + static_cast<size_t>(sx0) * bytesPerPixel,
                         static_cast<size_t>(dest.width()) * bytesPerPixel);
        }
        return;
    }
    for (int y = 0; y < dest.height(); ++y) {
        for (int x = 0; x < dest.width(); ++x) {
            setPixelValue(dest.left + x, dest.top + y, src.pixelValue(sx0 + x, sy0 + y));
        }
    }
}

void Bitmap::stretchCopy(const Rect& destRect, const Bitmap& src, const Rect& srcRect)
{
    if (src.format_ != format_) {
        throw ZentrapError("Pixel formats differ");
    }
    int wd = destRect.width();
    int hd = destRect.height();
    int ws = srcRect.width();
    int hs = srcRect.height();
    if (wd <= 0 || hd <= 0 || ws <= 0 || hs <= 0) {
        return;
    }
    // Only the destination pixels inside this bitmap are visited: a stretch far larger than the
    // bitmap (a preview zoomed in) costs what the visible part costs.
    int x0 = std::max(0, -destRect.left);
    int x1 = std::min(wd, width_ - destRect.left);
    int y0 = std::max(0, -destRect.top);
    int y1 = std::min(hd, height_ - destRect.top);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    std::vector<int> columns(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        columns[static_cast<size_t>(x - x0)] = srcRect.left + static_cast<int>(static_cast<int64_t>(x) * ws / wd);
    }
    int bpp = bitsPerPixel();
    size_t bytesPerPixel = bpp >= 8 ? static_cast<size_t>(bpp / 8) : 0;
    for (int y = y0; y < y1; ++y) {
        int dy = destRect.top + y;
        int sy = srcRect.top + static_cast<int>(static_cast<int64_t>(y) * hs / hd);
        if (sy < 0 || sy >= src.height_) {
            continue;
        }
        uint8_t* out = row(dy);
        const uint8_t* in = src.row(sy);
        for (int x = x0; x < x1; ++x) {
            int dx = destRect.left + x;
            int sx = columns[static_cast<size_t>(x - x0)];
            if (sx < 0 || sx >= src.width_) {
                continue;
            }
            if (bytesPerPixel != 0) {
                std::memcpy(out + static_cast<size_t>(dx) * bytesPerPixel, in + static_cast<size_t>(sx) * bytesPerPixel,
                            bytesPerPixel);
            } else {
                setPixelValue(dx, dy, src.pixelValue(sx, sy));
            }
        }
    }
}

void Bitmap::fillRect(const Rect& rect, ColorRef color)
{
    Rect r = rect.intersected({0, 0, width_, height_});
    if (r.isEmpty()) {
        return;
    }
    if (format_ == PixelFormat::Bpp24) {
        // One row of pixels built once and copied: previews fill large areas on every redraw.
        const uint8_t pixel[3] = {blueOf(color), greenOf(color), redOf(color)};
        size_t bytes = static_cast<size_t>(r.width()) * 3;
        uint8_t* first = row(r.top) + static_cast<size_t>(r.left) * 3;
        for (size_t i = 0; i < bytes; i += 3) {
            std::memcpy(first + i, pixel, 3);
        }
        for (int y = r.top + 1; y < r.bottom; ++y) {
            std::memcpy(row(y) + static_cast<size_t>(r.left) * 3, first, bytes);
        }
        return;
    }
    uint32_t value = isIndexed(format_) ? static_cast<uint32_t>(nearestTableIndex(color)) : color;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            setPixelValue(x, y, value);
        }
    }
}

Bitmap Bitmap::converted(PixelFormat format) const
{
    Bitmap out(width_, height_, format);
    out.systemPalette_ = systemPalette_;
    if (format == format_) {
        out.pixels_ = pixels_;
        out.colorTable_ = colorTable_;
        return out;
    }
    if (isIndexed(format)) {
        // Keep the table when it fits the new depth, else a grey ramp of that depth.
        if (!colorTable_.empty() && colorTable_.size() <= (1U << ::bitsPerPixel(format))) {
            out.colorTable_ = colorTable_;
        } else {
            out.colorTable_ = greyRamp(1 << ::bitsPerPixel(format));
        }
    }
    if (format_ == PixelFormat::Bpp24 && format == PixelFormat::Bpp32) {
        for (int y = 0; y < height_; ++y) {
            const uint8_t* in = row(y);
            uint8_t* o = out.row(y);
            for (int x = 0; x < width_; ++x, in += 3, o += 4) {
                o[0] = in[0];
                o[1] = in[1];
                o[2] = in[2];
                o[3] = 0;
            }
        }
        return out;
    }
    if (format_ == PixelFormat::Bpp32 && format == PixelFormat::Bpp24) {
        for (int y = 0; y < height_; ++y) {
            const uint8_t* in = row(y);
            uint8_t* o = out.row(y);
            for (int x = 0; x < width_; ++x, in += 4, o += 3) {
                o[0] = in[0];
                o[1] = in[1];
                o[2] = in[2];
            }
        }
        return out;
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            ColorRef c = pixelColor(x, y);
            out.setPixelValue(x, y, isIndexed(format) ? static_cast<uint32_t>(out.nearestTableIndex(c)) : c);
        }
    }
    return out;
}

std::vector<uint8_t> Bitmap::bottomUpRows() const
{
    std::vector<uint8_t> out(pixels_.size());
    for (int y = 0; y < height_; ++y) {
        std::memcpy(out.data() + static_cast<size_t>(height_ - 1 - y) * stride_, row(y), stride_);
    }
    return out;
}

bool operator==(const Bitmap& a, const Bitmap& b)
{
    return a.width_ == b.width_ && a.height_ == b.height_ && a.format_ == b.format_ && a.pixels_ == b.pixels_ &&
           a.colorTable_ == b.colorTable_ && a.systemPalette_ == b.systemPalette_;
}
