#include "common/ZentrapError.h"
#include "formats/GifEncoder.h"
#include "formats/GifImage.h"
#include "formats/Quantize.h"

#include <array>

namespace {

void checkDimension(int value)
{
    if (value < 0 || value > TGIFSubImage::kMaxDimension) {
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
    int Find(TGIFColor color) const
    {
        for (int i = 0; i < FUsed; ++i) {
            const Entry& e = FEntries[static_cast<size_t>((FNewest - i + kSize) % kSize)];
            if (e.color == color) {
                return e.index;
            }
        }
        return -1;
    }
    void Remember(TGIFColor color, int index)
    {
        FNewest = (FNewest + 1) % kSize;
        FEntries[static_cast<size_t>(FNewest)] = {color, index};
        FUsed = FUsed < kSize ? FUsed + 1 : kSize;
    }

private:
    static constexpr int kSize = 8;
    struct Entry {
        TGIFColor color;
        int index = 0;
    };
    std::array<Entry, kSize> FEntries{};
    int FNewest = kSize - 1;
    int FUsed = 0;
};

} // namespace

void TGIFSubImage::SetWidth(int width)
{
    SetBounds(FLeft, FTop, width, FHeight);
}

void TGIFSubImage::SetHeight(int height)
{
    SetBounds(FLeft, FTop, FWidth, height);
}

void TGIFSubImage::SetBounds(int left, int top, int width, int height)
{
    checkDimension(left);
    checkDimension(top);
    checkDimension(width);
    checkDimension(height);
    bool resized = width != FWidth || height != FHeight;
    FLeft = static_cast<uint16_t>(left);
    FTop = static_cast<uint16_t>(top);
    FWidth = static_cast<uint16_t>(width);
    FHeight = static_cast<uint16_t>(height);
    if (resized) {
        ResizeData();
    }
    FImage.GrowScreen(left + width, top + height);
}

void TGIFSubImage::ResizeData()
{
    FData.assign(static_cast<size_t>(FWidth) * FHeight, 0);
    FData.shrink_to_fit();
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const
{
    if (!FColorMap.Empty()) {
        return FColorMap;
    }
    return FImage.Header().ColorMap;
}

uint8_t TGIFSubImage::Pixel(int x, int y) const
{
    if (x < 0 || x >= FWidth || y < 0 || y >= FHeight || FData.empty()) {
        throw ZentrapError("Invalid pixel coordinates");
    }
    return FData[static_cast<size_t>(y) * FWidth + static_cast<size_t>(x)];
}

std::string TGIFSubImage::Version() const
{
    if (FColorMap.Sorted() || !FExtensions.empty()) {
        return "89a";
    }
    return "87a";
}

void TGIFSubImage::Assign(const Bitmap& bitmap)
{
    FColorMap.Clear();
    FData.clear();
    if (bitmap.isEmpty()) {
        return;
    }
    checkDimension(bitmap.width());
    checkDimension(bitmap.height());
    if (isIndexed(bitmap.pixelFormat())) {
        AssignPixels(bitmap);
        return;
    }
    const TGIFEncoderSettings& settings = FImage.Settings();
    AssignPixels(QuantizeBitmap(bitmap, settings.ColorReduction, settings.Dither, settings.ReductionBits));
}

void TGIFSubImage::AssignPixels(const Bitmap& bitmap)
{
    FColorMap.Clear();
    FData.clear();
    if (bitmap.isEmpty()) {
        return;
    }
    SetBounds(0, 0, bitmap.width(), bitmap.height());
    if (FData.size() != static_cast<size_t>(FWidth) * FHeight) {
        ResizeData();
    }
    if (isIndexed(bitmap.pixelFormat())) {
        AssignIndexed(bitmap);
    } else {
        AssignTrueColor(bitmap);
    }
}

void TGIFSubImage::AssignIndexed(const Bitmap& bitmap)
{
    // An indexed Bitmap without a table shows a grey ramp; the GIF gets the same colours.
    std::vector<RgbQuad> table = bitmap.colorTable();
    if (table.empty()) {
        table = greyRamp(1 << bitmap.bitsPerPixel());
    }
    for (size_t i = 0; i < table.size() && i < TGIFColorMap::kMaxColors; ++i) {
        FColorMap.Add({table[i].red, table[i].green, table[i].blue});
    }
    int bpp = bitmap.bitsPerPixel();
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* row = bitmap.row(y);
        uint8_t* out = FData.data() + static_cast<size_t>(y) * FWidth;
        if (bpp == 8) {
            std::copy(row, row + FWidth, out);
            continue;
        }
        for (int x = 0; x < FWidth; ++x) {
            out[x] = indexAt(row, x, bpp);
        }
    }
}

void TGIFSubImage::AssignTrueColor(const Bitmap& bitmap)
{
    size_t bytesPerPixel = bitmap.pixelFormat() == PixelFormat::Bpp32 ? 4 : 3;
    RecentColors recent;
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* p = bitmap.row(y);
        uint8_t* out = FData.data() + static_cast<size_t>(y) * FWidth;
        for (int x = 0; x < FWidth; ++x, p += bytesPerPixel) {
            TGIFColor color{p[2], p[1], p[0]};
            int index = recent.Find(color);
            if (index < 0) {
                index = FColorMap.IndexOf(color);
                if (index < 0) {
                    index = FColorMap.Add(color); // "Color table overflow" past 256 colours
                }
                recent.Remember(color, index);
            }
            out[x] = static_cast<uint8_t>(index);
        }
    }
}

void TGIFSubImage::WriteDescriptor(ByteSink& sink) const
{
    uint8_t descriptor[10];
    descriptor[0] = 0x2C;
    putWord(descriptor + 1, FLeft);
    putWord(descriptor + 3, FTop);
    putWord(descriptor + 5, FWidth);
    putWord(descriptor + 7, FHeight);
    if (!FColorMap.Empty()) {
        descriptor[9] = static_cast<uint8_t>(0x80 | (FColorMap.Sorted() ? 0x20 : 0) | ((BitsPerPixel() - 1) & 7));
    } else {
        descriptor[9] = static_cast<uint8_t>(FPacked & (0x40 | 0x10 | 0x08));
    }
    sink.write(descriptor, sizeof descriptor);
}

void TGIFSubImage::Write(ByteSink& sink) const
{
    for (const auto& extension : FExtensions) {
        extension->Write(sink);
    }
    if (Empty()) {
        return;
    }
    WriteDescriptor(sink);
    FColorMap.WriteTable(sink);
    int bits = BitsPerPixel();
    int colors = FColorMap.Count();
    if (FColorMap.Empty()) {
        bits = FImage.BitsPerPixel();
        colors = 1 << bits;
    }
    // The descriptor carries the interlace bit only without a local map.
    bool interlaced = FColorMap.Empty() && Interlaced();
    WriteGifImageData(sink, FData, FWidth, FHeight, interlaced, bits, colors, FImage.Settings().Compression);
}
