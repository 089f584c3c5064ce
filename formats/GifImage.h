// A GIF file in memory: the header with its logical screen, and sub-images with their colour maps,
// extensions and pixel indices; built from a Bitmap and written as GIF 87a or 89a.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "formats/GifColorMap.h"
#include "formats/GifEncoderSettings.h"
#include "formats/GifExtension.h"

#include <memory>
#include <string>
#include <vector>

class GifImage;

struct GifHeader {
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    uint8_t Packed = 0;
    uint8_t BackgroundColorIndex = 0;
    uint8_t AspectRatio = 0;
    GifGlobalColorMap ColorMap;
};

class GifSubImage {
public:
    static constexpr int kMaxDimension = 65535;

    explicit GifSubImage(GifImage& image) : image_(image) {}

    uint16_t Left() const { return left_; }
    uint16_t Top() const { return top_; }
    uint16_t Width() const { return width_; }
    uint16_t Height() const { return height_; }
    // A new size discards the pixels: all indices become 0. The logical screen grows to contain it.
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    uint8_t Packed() const { return packed_; }
    void SetPacked(uint8_t packed) { packed_ = packed; }
    bool Interlaced() const { return (packed_ & 0x40) != 0; }

    GifLocalColorMap& ColorMap() { return colorMap_; }
    const GifLocalColorMap& ColorMap() const { return colorMap_; }
    // The local map, or the global one when the local map is empty.
    const GifColorMap& ActiveColorMap() const;

    std::vector<std::unique_ptr<GifExtension>>& Extensions() { return extensions_; }
    const std::vector<std::unique_ptr<GifExtension>>& Extensions() const { return extensions_; }

    std::vector<uint8_t>& Data() { return data_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    bool Empty() const { return data_.empty(); }
    // The index at (x, y); fails with "Invalid pixel coordinates" outside the image.
    uint8_t Pixel(int x, int y) const;

    int BitsPerPixel() const { return colorMap_.BitsPerPixel(); }
    int ColorResolution() const { return colorMap_.ColorResolution(); }
    // "89a" with a sorted map or any extension, else "87a".
    std::string Version() const;

    // Takes the Bitmap's size and pixels; a picture that is not indexed is first reduced with the
    // owning image's settings.
    void Assign(const Bitmap& bitmap);
    // Takes the Bitmap's size and pixels without reducing: indexed pictures with their colour table,
    // others by collecting their colours in order of first appearance ("Color table overflow" past 256).
    void AssignPixels(const Bitmap& bitmap);
    void Write(ByteSink& sink) const;

private:
    void ResizeData();
    void AssignIndexed(const Bitmap& bitmap);
    void AssignTrueColor(const Bitmap& bitmap);
    void WriteDescriptor(ByteSink& sink) const;

    GifImage& image_;
    uint16_t left_ = 0;
    uint16_t top_ = 0;
    uint16_t width_ = 0;
    uint16_t height_ = 0;
    uint8_t packed_ = 0;
    GifLocalColorMap colorMap_;
    std::vector<std::unique_ptr<GifExtension>> extensions_;
    std::vector<uint8_t> data_;
};

class GifImage {
public:
    explicit GifImage(const GifEncoderSettings& settings = {});
    GifImage(const GifImage&) = delete;
    GifImage& operator=(const GifImage&) = delete;

    GifHeader& Header() { return header_; }
    const GifHeader& Header() const { return header_; }
    std::vector<std::unique_ptr<GifSubImage>>& Images() { return images_; }
    const std::vector<std::unique_ptr<GifSubImage>>& Images() const { return images_; }

    const GifEncoderSettings& Settings() const { return settings_; }
    GifEncoderSettings& Settings() { return settings_; }

    void Clear();
    GifSubImage& AddImage();
    // Clears the image and adds one sub-image made from `bitmap`.
    void Assign(const Bitmap& bitmap);

    // Attaches a graphic control extension to the first sub-image whose transparent index is the
    // index at (x, y); an index outside the active colour map becomes 0 with a warning.
    void MarkTransparent(int x, int y);

    // Grows the logical screen to contain a sub-image's bounds.
    void GrowScreen(int right, int bottom);

    // Highest among the header and the sub-images.
    int BitsPerPixel() const;
    int ColorResolution() const;
    std::string Version() const;

    // The complete file; fails with the writer's messages.
    void SaveToStream(ByteSink& sink) const;

    // Warnings raised while building ("Invalid color index"); writing goes on after them.
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    void WriteScreenDescriptor(ByteSink& sink) const;

    GifHeader header_;
    std::vector<std::unique_ptr<GifSubImage>> images_;
    GifEncoderSettings settings_;
    std::vector<std::string> warnings_;
};

// The first sub-image as a 24-bit picture in the colours of its active colour map.
Bitmap RenderGifImage(const GifImage& image);
