// A GIF file in memory: the header with its logical screen, and sub-images with their colour maps,
// extensions and pixel indices; built from a Bitmap and written as GIF 87a or 89a.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "formats/GifColorMap.h"
#include "formats/GifDefaults.h"
#include "formats/GifExtension.h"

#include <memory>
#include <string>
#include <vector>

class TGIFImage;

struct TGIFHeader {
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    uint8_t Packed = 0;
    uint8_t BackgroundColorIndex = 0;
    uint8_t AspectRatio = 0;
    TGIFGlobalColorMap ColorMap;
};

class TGIFSubImage {
public:
    static constexpr int kMaxDimension = 65535;

    explicit TGIFSubImage(TGIFImage& image) : FImage(image) {}

    uint16_t Left() const { return FLeft; }
    uint16_t Top() const { return FTop; }
    uint16_t Width() const { return FWidth; }
    uint16_t Height() const { return FHeight; }
    // A new size discards the pixels: all indices become 0. The logical screen grows to contain it.
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    uint8_t Packed() const { return FPacked; }
    void SetPacked(uint8_t packed) { FPacked = packed; }
    bool Interlaced() const { return (FPacked & 0x40) != 0; }

    TGIFLocalColorMap& ColorMap() { return FColorMap; }
    const TGIFLocalColorMap& ColorMap() const { return FColorMap; }
    // The local map, or the global one when the local map is empty.
    const TGIFColorMap& ActiveColorMap() const;

    std::vector<std::unique_ptr<TGIFExtension>>& Extensions() { return FExtensions; }
    const std::vector<std::unique_ptr<TGIFExtension>>& Extensions() const { return FExtensions; }

    std::vector<uint8_t>& Data() { return FData; }
    const std::vector<uint8_t>& Data() const { return FData; }
    bool Empty() const { return FData.empty(); }
    // The index at (x, y); fails with "Invalid pixel coordinates" outside the image.
    uint8_t Pixel(int x, int y) const;

    int BitsPerPixel() const { return FColorMap.BitsPerPixel(); }
    int ColorResolution() const { return FColorMap.ColorResolution(); }
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

    TGIFImage& FImage;
    uint16_t FLeft = 0;
    uint16_t FTop = 0;
    uint16_t FWidth = 0;
    uint16_t FHeight = 0;
    uint8_t FPacked = 0;
    TGIFLocalColorMap FColorMap;
    std::vector<std::unique_ptr<TGIFExtension>> FExtensions;
    std::vector<uint8_t> FData;
};

class TGIFImage {
public:
    // Copies the process-wide encoder defaults.
    TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    TGIFHeader& Header() { return FHeader; }
    const TGIFHeader& Header() const { return FHeader; }
    std::vector<std::unique_ptr<TGIFSubImage>>& Images() { return FImages; }
    const std::vector<std::unique_ptr<TGIFSubImage>>& Images() const { return FImages; }

    const TGIFEncoderSettings& Settings() const { return FSettings; }
    TGIFEncoderSettings& Settings() { return FSettings; }

    void Clear();
    TGIFSubImage& AddImage();
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
    const std::vector<std::string>& Warnings() const { return FWarnings; }

private:
    void WriteScreenDescriptor(ByteSink& sink) const;

    TGIFHeader FHeader;
    std::vector<std::unique_ptr<TGIFSubImage>> FImages;
    TGIFEncoderSettings FSettings;
    std::vector<std::string> FWarnings;
};

// The first sub-image as a 24-bit picture in the colours of its active colour map.
Bitmap RenderGifImage(const TGIFImage& image);
