// The PNG encoder: a Bitmap with an ordered chunk list, written as signature and chunks with the
// image data deflated at zlib's default level.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "formats/PngFilter.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

struct PngChunk {
    std::array<char, 4> type{};
    std::vector<uint8_t> data;

    bool is(std::string_view name) const { return std::string_view(type.data(), type.size()) == name; }
};

// The chunks of a PNG file in the order they are written.
class PngChunkList {
public:
    // Appends an empty chunk of `type` (four letters).
    PngChunk& add(std::string_view type);
    // Inserts an empty chunk of `type` right behind the first chunk of type `after` (at the end when none).
    PngChunk& insertAfter(std::string_view after, std::string_view type);
    void remove(std::string_view type);
    PngChunk* find(std::string_view type);
    const std::vector<PngChunk>& chunks() const { return chunks_; }

private:
    std::vector<PngChunk> chunks_;
};

class PngImage {
public:
    // A new image: chunks IHDR, IDAT, IEND; filters None, Sub, Average, Paeth; no interlacing.
    PngImage();
    // The image may refer to a bitmap it does not own: copies would not know which one to write.
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    // Takes a copy of `bitmap` as the image to write.
    void assign(const Bitmap& bitmap);
    // Writes `bitmap` itself, without a copy: it must stay unchanged while the image is written.
    void refer(const Bitmap& bitmap);
    const Bitmap& bitmap() const { return *source_; }
    PngChunkList& chunkList() { return chunks_; }
    PngFilterSet filters() const { return filters_; }

    // Writes the signature and every chunk; the IHDR, PLTE and IDAT contents are made from the image.
    // Throws ZentrapError for an empty image or a zlib failure.
    void saveToStream(ByteSink& out);

private:
    void prepareChunks();
    std::vector<uint8_t> headerData() const;
    std::vector<uint8_t> paletteData() const;
    std::vector<uint8_t> imageData() const;

    Bitmap bitmap_;
    const Bitmap* source_ = &bitmap_;
    PngChunkList chunks_;
    PngFilterSet filters_ = kDefaultPngFilters;
};

// The CRC-32 of the PNG standard over a chunk's type and data.
uint32_t pngChunkCrc(const PngChunk& chunk);

// Convenience: a PngImage of `bitmap` written to `out`.
void writePng(const Bitmap& bitmap, ByteSink& out);
