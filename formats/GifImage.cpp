#include "formats/GifImage.h"

#include "common/ZentrapError.h"

#include <algorithm>

namespace {

void putWord(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

TGIFImage::TGIFImage() : FSettings(GIFEncoderDefaults())
{
}

void TGIFImage::Clear()
{
    FImages.clear();
    FHeader = TGIFHeader{};
    FWarnings.clear();
}

TGIFSubImage& TGIFImage::AddImage()
{
    FImages.push_back(std::make_unique<TGIFSubImage>(*this));
    return *FImages.back();
}

void TGIFImage::Assign(const Bitmap& bitmap)
{
    Clear();
    AddImage().Assign(bitmap);
}

void TGIFImage::GrowScreen(int right, int bottom)
{
    // Sub-image bounds are checked against 65535 each, so the sums fit only when clamped.
    FHeader.ScreenWidth = static_cast<uint16_t>(std::max<int>(FHeader.ScreenWidth, std::min(right, 65535)));
    FHeader.ScreenHeight = static_cast<uint16_t>(std::max<int>(FHeader.ScreenHeight, std::min(bottom, 65535)));
}

void TGIFImage::MarkTransparent(int x, int y)
{
    if (FImages.empty()) {
        throw ZentrapError("Invalid pixel coordinates");
    }
    TGIFSubImage& first = *FImages.front();
    uint8_t index = first.Pixel(x, y);
    const TGIFColorMap& map = first.ActiveColorMap();
    if (!map.Empty() && index >= map.Count()) {
        FWarnings.emplace_back("Invalid color index");
        index = 0;
    }
    auto extension = std::make_unique<TGIFGraphicControlExtension>();
    extension->SetTransparent(true);
    extension->SetTransparentColorIndex(index);
    first.Extensions().push_back(std::move(extension));
}

int TGIFImage::BitsPerPixel() const
{
    int bits = FHeader.ColorMap.BitsPerPixel();
    for (const auto& image : FImages) {
        bits = std::max(bits, image->BitsPerPixel());
    }
    return bits;
}

int TGIFImage::ColorResolution() const
{
    int resolution = FHeader.ColorMap.ColorResolution();
    for (const auto& image : FImages) {
        resolution = std::max(resolution, image->ColorResolution());
    }
    return resolution;
}

std::string TGIFImage::Version() const
{
    if (FImages.empty()) {
        throw ZentrapError("Unsupported GIF version");
    }
    std::string version = "87a";
    for (const auto& image : FImages) {
        version = std::max(version, image->Version());
    }
    return version;
}

void TGIFImage::WriteScreenDescriptor(ByteSink& sink) const
{
    const TGIFGlobalColorMap& global = FHeader.ColorMap;
    // Without any colour map both fields would be -1; they are written as 0.
    int resolution = std::max(ColorResolution(), 0);
    int bits = std::max(BitsPerPixel() - 1, 0);
    uint8_t packed = static_cast<uint8_t>(((resolution & 7) << 4) | (bits & 7));
    if (!global.Empty()) {
        packed |= 0x80;
        if (global.Sorted()) {
            packed |= 0x08;
        }
    }
    uint8_t descriptor[7];
    putWord(descriptor, FHeader.ScreenWidth);
    putWord(descriptor + 2, FHeader.ScreenHeight);
    descriptor[4] = packed;
    descriptor[5] = 0;
    descriptor[6] = 0;
    sink.write(descriptor, sizeof descriptor);
}

void TGIFImage::SaveToStream(ByteSink& sink) const
{
    std::string signature = "GIF" + Version();
    sink.write(signature.data(), signature.size());
    WriteScreenDescriptor(sink);
    FHeader.ColorMap.WriteTable(sink);
    for (const auto& image : FImages) {
        image->Write(sink);
    }
    sink.writeByte(0x3B);
}

Bitmap RenderGifImage(const TGIFImage& image)
{
    if (image.Images().empty() || image.Images().front()->Empty()) {
        return Bitmap();
    }
    const TGIFSubImage& sub = *image.Images().front();
    const TGIFColorMap& map = sub.ActiveColorMap();
    Bitmap picture(sub.Width(), sub.Height(), PixelFormat::Bpp24);
    const uint8_t* index = sub.Data().data();
    for (int y = 0; y < sub.Height(); ++y) {
        uint8_t* out = picture.row(y);
        for (int x = 0; x < sub.Width(); ++x, ++index, out += 3) {
            TGIFColor c = *index < map.Count() ? map[*index] : TGIFColor{};
            out[0] = c.Blue;
            out[1] = c.Green;
            out[2] = c.Red;
        }
    }
    return picture;
}
