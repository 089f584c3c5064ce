#include "common/ZentrapError.h"
#include "formats/GifEncoder.h"
#include "formats/GifImage.h"
#include "formats/Quantize.h"

#include <array>

namespace {

void checkDimension(int value)
{
    if (value < 0 || value > GifSubImage::kMaxDimension) {
        throw ZentrapError("Image too large for GIF");
    }
}

void putWord(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>(value >> 8);
}

// The index of pixel x in a row of 1, 4 or 8 bits per pixel, most significant bits first.
uint8_t indexAt(const uint8_t* row, int x, int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
        return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
        return static_cast<uint8_t>((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    default:
        return row[x];
    }
}

// The most recently seen colours with their indices, searched from the newest backwards.
class RecentColors {
public:
    int Find(GifColor color) const
    {
        for (int i = 0; i < used_; ++i) {
            const Entry& e = entries_[static_cast<size_t>((newest_ - i + kSize) % kSize)];
            if (e.color == color) {
                return e.index;
            }
        }
        return -1;
    }
    void Remember(GifColor color, int index)
    {
        newest_ = (newest_ + 1) % kSize;
        entries_[static_cast<size_t>(newest_)] = {color, index};
        used_ = used_ < kSize ? used_ + 1 : kSize;
    }

private:
    static constexpr int kSize = 8;
    struct Entry {
        GifColor color;
        int index = 0;
    };
    std::array<Entry, kSize> entries_{};
    int newest_ = kSize - 1;
    int used_ = 0;
};

} // namespace

void GifSubImage::SetWidth(int width)
{
    SetBounds(left_, top_, width, height_);
}

void GifSubImage::SetHeight(int height)
{
    SetBounds(left_, top_, width_, height);
}

void GifSubImage::SetBounds(int left, int top, int width, int height)
{
    checkDimension(left);
    checkDimension(top);
    checkDimension(width);
    checkDimension(height);
    bool resized = width != width_ || height != height_;
    left_ = static_cast<uint16_t>(left);
    top_ = static_cast<uint16_t>(top);
    width_ = static_cast<uint16_t>(width);
    height_ = static_cast<uint16_t>(height);
    if (resized) {
        ResizeData();
    }
    image_.GrowScreen(left + width, top + height);
}

void GifSubImage::ResizeData()
{
    data_.assign(static_cast<size_t>(width_) * height_, 0);
    data_.shrink_to_fit();
}

const GifColorMap& GifSubImage::ActiveColorMap() const
{
    if (!colorMap_.Empty()) {
        return colorMap_;
    }
    return image_.Header().ColorMap;
}

uint8_t GifSubImage::Pixel(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_ || data_.empty()) {
        throw ZentrapError("Invalid pixel coordinates");
    }
    return data_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
}

std::string GifSubImage::Version() const
{
    if (colorMap_.Sorted() || !extensions_.empty()) {
        return "89a";
    }
    return "87a";
}

void GifSubImage::Assign(const Bitmap& bitmap)
{
    colorMap_.Clear();
    data_.clear();
    if (bitmap.isEmpty()) {
        return;
    }
    checkDimension(bitmap.width());
    checkDimension(bitmap.height());
    if (isIndexed(bitmap.pixelFormat())) {
        AssignPixels(bitmap);
        return;
    }
    const GifEncoderSettings& settings = image_.Settings();
    AssignPixels(QuantizeBitmap(bitmap, settings.ColorReduction, settings.Dither, settings.ReductionBits));
}

void GifSubImage::AssignPixels(const Bitmap& bitmap)
{
    colorMap_.Clear();
    data_.clear();
    if (bitmap.isEmpty()) {
        return;
    }
    SetBounds(0, 0, bitmap.width(), bitmap.height());
    if (data_.size() != static_cast<size_t>(width_) * height_) {
        ResizeData();
    }
    if (isIndexed(bitmap.pixelFormat())) {
        AssignIndexed(bitmap);
    } else {
        AssignTrueColor(bitmap);
    }
}

void GifSubImage::AssignIndexed(const Bitmap& bitmap)
{
    // An indexed Bitmap without a table shows a grey ramp; the GIF gets the same colours.
    std::vector<RgbQuad> table = bitmap.colorTable();
    if (table.empty()) {
        table = greyRamp(1 << bitmap.bitsPerPixel());
    }
    for (size_t i = 0; i < table.size() && i < GifColorMap::kMaxColors; ++i) {
        colorMap_.Add({table[i].red, table[i].green, table[i].blue});
    }
    int bpp = bitmap.bitsPerPixel();
    for (int y = 0; y < height_; ++y) {
        const uint8_t* row = bitmap.row(y);
        uint8_t* out = data_.data() + static_cast<size_t>(y) * width_;
        if (bpp == 8) {
            std::copy(row, row + width_, out);
            continue;
        }
        for (int x = 0; x < width_; ++x) {
            out[x] = indexAt(row, x, bpp);
        }
    }
}

void GifSubImage::AssignTrueColor(const Bitmap& bitmap)
{
    size_t bytesPerPixel = bitmap.pixelFormat() == PixelFormat::Bpp32 ? 4 : 3;
    RecentColors recent;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* p = bitmap.row(y);
        uint8_t* out = data_.data() + static_cast<size_t>(y) * width_;
        for (int x = 0; x < width_; ++x, p += bytesPerPixel) {
            GifColor color{p[2], p[1], p[0]};
            int index = recent.Find(color);
            if (index < 0) {
                index = colorMap_.IndexOf(color);
                if (index < 0) {
                    index = colorMap_.Add(color); // "Color table overflow" past 256 colours
                }
                recent.Remember(color, index);
            }
            out[x] = static_cast<uint8_t>(index);
        }
    }
}

void GifSubImage::WriteDescriptor(ByteSink& sink) const
{
    uint8_t descriptor[10];
    descriptor[0] = 0x2C;
    putWord(descriptor + 1, left_);
    putWord(descriptor + 3, top_);
    putWord(descriptor + 5, width_);
    putWord(descriptor + 7, height_);
    if (!colorMap_.Empty()) {
        descriptor[9] = static_cast<uint8_t>(0x80 | (colorMap_.Sorted() ? 0x20 : 0) | ((BitsPerPixel() - 1) & 7));
    } else {
        descriptor[9] = static_cast<uint8_t>(packed_ & (0x40 | 0x10 | 0x08));
    }
    sink.write(descriptor, sizeof descriptor);
}

void GifSubImage::Write(ByteSink& sink) const
{
    for (const auto& extension : extensions_) {
        extension->Write(sink);
    }
    if (Empty()) {
        return;
    }
    WriteDescriptor(sink);
    colorMap_.WriteTable(sink);
    int bits = BitsPerPixel();
    int colors = colorMap_.Count();
    if (colorMap_.Empty()) {
        bits = image_.BitsPerPixel();
        colors = 1 << bits;
    }
    // The descriptor carries the interlace bit only without a local map.
    bool interlaced = colorMap_.Empty() && Interlaced();
    WriteGifImageData(sink, data_, width_, height_, interlaced, bits, colors, image_.Settings().Compression);
}
