// The raster image that every subsystem passes around: top-down rows with the DIB stride.
#pragma once

#include "common/Color.h"
#include "common/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

enum class PixelFormat : uint8_t { Bpp1 = 1, Bpp4 = 4, Bpp8 = 8, Bpp24 = 24, Bpp32 = 32 };

// A colour-table entry as a DIB stores it.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// A system palette entry as the display reports it.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

inline int bitsPerPixel(PixelFormat f)
{
    return static_cast<int>(f);
}
inline bool isIndexed(PixelFormat f)
{
    return bitsPerPixel(f) <= 8;
}

// Bytes of one row of `width` pixels padded to a multiple of 4 (the DIB stride).
size_t dibStride(int width, PixelFormat format);

class Bitmap {
public:
    static constexpr int kMaxColorTable = 256;

    Bitmap() = default;
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Bpp24);

    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat pixelFormat() const { return format_; }
    int bitsPerPixel() const { return ::bitsPerPixel(format_); }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    size_t stride() const { return stride_; }
    size_t byteCount() const { return pixels_.size(); }

    // Changing the size keeps the overlapping top-left pixels; new pixels are black (index 0).
    void setWidth(int width) { setSize(width, height_); }
    void setHeight(int height) { setSize(width_, height); }
    void setSize(int width, int height);
    // Changing the format converts the pixels (see converted()).
    void setPixelFormat(PixelFormat format);

    uint8_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    uint8_t* bits() { return pixels_.data(); }
    const uint8_t* bits() const { return pixels_.data(); }

    // Colour table for the 1-, 4- and 8-bit formats (at most 256 entries).
    const std::vector<RgbQuad>& colorTable() const { return colorTable_; }
    void setColorTable(std::vector<RgbQuad> table);

    // The system palette of a palette display at the moment of a capture.
    const std::optional<std::vector<PaletteEntry>>& systemPalette() const { return systemPalette_; }
    void attachSystemPalette(std::vector<PaletteEntry> palette) { systemPalette_ = std::move(palette); }
    void detachSystemPalette() { systemPalette_.reset(); }

    // Index (indexed formats) or 0x00BBGGRR colour (24/32 bits) of one pixel.
    uint32_t pixelValue(int x, int y) const;
    void setPixelValue(int x, int y, uint32_t value);
    // The colour of one pixel whatever the format.
    ColorRef pixelColor(int x, int y) const;

    // Copies `srcRect` of `src` to `destTopLeft`, clipped to both bitmaps; formats must match.
    void copyRect(Point destTopLeft, const Bitmap& src, const Rect& srcRect);
    // Nearest-neighbour stretch of `srcRect` into `destRect`: source index floor(x * Ws / Wd).
    void stretchCopy(const Rect& destRect, const Bitmap& src, const Rect& srcRect);
    // Fills the clipped rectangle; indexed formats take the nearest table entry.
    void fillRect(const Rect& rect, ColorRef color);

    // A copy in another format: up-conversions are exact, down-conversions map each pixel to
    // the nearest colour of the colour table (a grey ramp when there is none).
    Bitmap converted(PixelFormat format) const;

    // Rows bottom-up, each padded to 4 bytes, as a DIB stores them.
    std::vector<uint8_t> bottomUpRows() const;

    int nearestTableIndex(ColorRef color) const;

    friend bool operator==(const Bitmap& a, const Bitmap& b);

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Bpp24;
    size_t stride_ = 0;
    std::vector<uint8_t> pixels_;
    std::vector<RgbQuad> colorTable_;
    std::optional<std::vector<PaletteEntry>> systemPalette_;
};

// A grey ramp of 2^bits entries: the table an indexed bitmap gets when it has none.
std::vector<RgbQuad> greyRamp(int entries);
