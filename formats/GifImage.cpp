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

GifImage::GifImage(const GifEncoderSettings& settings) : settings_(settings)
{
}

void GifImage::Clear()
{
    images_.clear();
    header_ = GifHeader{};
    warnings_.clear();
}

GifSubImage& GifImage::AddImage()
{
    images_.push_back(std::make_unique<GifSubImage>(*this));
    return *images_.back();
}

void GifImage::Assign(const Bitmap& bitmap)
{
    Clear();
    AddImage().Assign(bitmap);
}

void GifImage::GrowScreen(int right, int bottom)
{
    // Sub-image bounds are checked against 65535 each, so the sums fit only when clamped.
    header_.ScreenWidth = static_cast<uint16_t>(std::max<int>(header_.ScreenWidth, std::min(right, 65535)));
    header_.ScreenHeight = static_cast<uint16_t>(std::max<int>(header_.ScreenHeight, std::min(bottom, 65535)));
}

void GifImage::MarkTransparent(int x, int y)
{
    if (images_.empty()) {
        throw ZentrapError("Invalid pixel coordinates");
    }
    GifSubImage& first = *images_.front();
    uint8_t index = first.Pixel(x, y);
    const GifColorMap& map = first.ActiveColorMap();
    if (!map.Empty() && index >= map.Count()) {
        warnings_.emplace_back("Invalid color index");
        index = 0;
    }
    auto extension = std::make_unique<GifGraphicControlExtension>();
    extension->SetTransparent(true);
    extension->SetTransparentColorIndex(index);
    first.Extensions().push_back(std::move(extension));
}

int GifImage::BitsPerPixel() const
{
    int bits = header_.ColorMap.BitsPerPixel();
    for (const auto& image : images_) {
        bits = std::max(bits, image->BitsPerPixel());
    }
    return bits;
}

int GifImage::ColorResolution() const
{
    int resolution = header_.ColorMap.ColorResolution();
    for (const auto& image : images_) {
        resolution = std::max(resolution, image->ColorResolution());
    }
    return resolution;
}

std::string GifImage::Version() const
{
    if (images_.empty()) {
        throw ZentrapError("Unsupported GIF version");
    }
    std::string version = "87a";
    for (const auto& image : images_) {
        version = std::max(version, image->Version());
    }
    return version;
}

void GifImage::WriteScreenDescriptor(ByteSink& sink) const
{
    const GifGlobalColorMap& global = header_.ColorMap;
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
    putWord(descriptor, header_.ScreenWidth);
    putWord(descriptor + 2, header_.ScreenHeight);
    descriptor[4] = packed;
    descriptor[5] = 0;
    descriptor[6] = 0;
    sink.write(descriptor, sizeof descriptor);
}

void GifImage::SaveToStream(ByteSink& sink) const
{
    std::string signature = "GIF" + Version();
    sink.write(signature.data(), signature.size());
    WriteScreenDescriptor(sink);
    header_.ColorMap.WriteTable(sink);
    for (const auto& image : images_) {
        image->Write(sink);
    }
    sink.writeByte(0x3B);
}

Bitmap RenderGifImage(const GifImage& image)
{
    if (image.Images().empty() || image.Images().front()->Empty()) {
        return Bitmap();
    }
    const GifSubImage& sub = *image.Images().front();
    const GifColorMap& map = sub.ActiveColorMap();
    Bitmap picture(sub.Width(), sub.Height(), PixelFormat::Bpp24);
    const uint8_t* index = sub.Data().data();
    for (int y = 0; y < sub.Height(); ++y) {
        uint8_t* out = picture.row(y);
        for (int x = 0; x < sub.Width(); ++x, ++index, out += 3) {
            GifColor c = *index < map.Count() ? map[*index] : GifColor{};
            out[0] = c.Blue;
            out[1] = c.Green;
            out[2] = c.Red;
        }
    }
    return picture;
}
