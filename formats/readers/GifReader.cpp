#include "formats/readers/GifReader.h"

#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

[[noreturn]] void truncated()
{
    throw ZentrapError("Truncated GIF file: the first picture's data ends early");
}

struct MemoryInput {
    std::span<const uint8_t> file;
    size_t at = 0;
};

int readBytes(GifFileType* gif, GifByteType* into, int count)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(std::max(count, 0)), in->file.size() - in->at);
    std::memcpy(into, in->file.data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

struct CloseGif {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifHandle = std::unique_ptr<GifFileType, CloseGif>;

[[noreturn]] void fail(const GifFileType* gif)
{
    if (gif->Error == D_GIF_ERR_READ_FAILED || gif->Error == D_GIF_ERR_EOF_TOO_SOON) {
        truncated();
    }
    const char* text = GifErrorString(gif->Error);
    throw ZentrapError(std::string("Damaged GIF file: ") + (text ? text : "unknown error"));
}

// Walks the blocks up to the end of the first picture's data without decoding, so that a truncated
// file is refused before memory is taken for its pixels.
void checkFirstPictureComplete(std::span<const uint8_t> f)
{
    auto tableBytes = [](uint8_t flags) { return flags & 0x80 ? size_t{3} << ((flags & 7) + 1) : 0; };
    auto skipSubBlocks = [&](size_t at) {
        while (at < f.size() && f[at] != 0) {
            at += size_t{f[at]} + 1;
        }
        if (at >= f.size()) {
            truncated();
        }
        return at + 1;
    };
    if (f.size() < 13) {
        truncated();
    }
    size_t at = 13 + tableBytes(f[10]);
    while (at < f.size()) {
        if (f[at] == 0x21 && at + 1 < f.size()) {
            at = skipSubBlocks(at + 2);
        } else if (f[at] == 0x2C) {
            if (at + 10 > f.size()) {
                truncated();
            }
            at += 10 + tableBytes(f[at + 9]);
            skipSubBlocks(at + 1); // after the code size byte
            return;
        } else {
            break; // the trailer, or something giflib will name
        }
    }
    if (at >= f.size()) {
        truncated();
    }
}

GifHandle open(MemoryInput& input)
{
    int error = 0;
    GifHandle gif(DGifOpen(&input, readBytes, &error));
    if (!gif) {
        if (error == D_GIF_ERR_READ_FAILED) {
            truncated();
        }
        const char* text = GifErrorString(error);
        throw ZentrapError(std::string("Damaged GIF file: ") + (text ? text : "unknown error"));
    }
    return gif;
}

// Skips extensions up to the first picture's descriptor.
void findFirstPicture(GifFileType* gif)
{
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            fail(gif);
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                fail(gif);
            }
            return;
        }
        if (type != EXTENSION_RECORD_TYPE) {
            throw ZentrapError("Damaged GIF file: it holds no picture");
        }
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
            fail(gif);
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
                fail(gif);
            }
        }
    }
}

std::vector<RgbQuad> colorTable(const ColorMapObject* map)
{
    if (map == nullptr) {
        return greyRamp(256);
    }
    std::vector<RgbQuad> table(256);
    for (int i = 0; i < map->ColorCount && i < 256; ++i) {
        const GifColorType& c = map->Colors[i];
        table[i] = {c.Blue, c.Green, c.Red, 0};
    }
    return table;
}

// Rows go into the canvas, or nowhere when there is no canvas yet (the checking pass).
void readRows(GifFileType* gif, Bitmap* canvas)
{
    const GifImageDesc& d = gif->Image;
    std::vector<GifPixelType> line(static_cast<size_t>(d.Width));
    auto readRow = [&](int y) {
        if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) {
            fail(gif);
        }
        if (canvas != nullptr) {
            std::memcpy(canvas->row(d.Top + y) + d.Left, line.data(), line.size());
        }
    };
    if (!d.Interlace) {
        for (int y = 0; y < d.Height; ++y) {
            readRow(y);
        }
        return;
    }
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < d.Height; y += kStep[pass]) {
            readRow(y);
        }
    }
}

struct GifShape {
    int64_t width = 0;
    int64_t height = 0;
};

// One decoding pass. Without `canvas` the pixels are decoded and dropped: that first pass finds
// damaged or missing data before the picture's memory is taken.
GifShape decodePass(std::span<const uint8_t> file, const ImageLimits& limits, Bitmap* canvas)
{
    MemoryInput input;
    input.file = file;
    GifHandle gif = open(input);
    findFirstPicture(gif.get());
    const GifImageDesc& d = gif->Image;
    checkImageSize(d.Width, d.Height, limits);
    GifShape shape;
    shape.width = std::max<int64_t>(gif->SWidth, int64_t{d.Left} + d.Width);
    shape.height = std::max<int64_t>(gif->SHeight, int64_t{d.Top} + d.Height);
    checkImageSize(shape.width, shape.height, limits);
    if (canvas != nullptr) {
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        canvas->setColorTable(colorTable(map));
        // Around a picture smaller than the screen, the screen's background colour shows.
        if (gif->SColorMap != nullptr && gif->SBackGroundColor != 0) {
            for (int y = 0; y < canvas->height(); ++y) {
                std::memset(canvas->row(y), gif->SBackGroundColor & 0xFF, static_cast<size_t>(canvas->width()));
            }
        }
    }
    readRows(gif.get(), canvas);
    return shape;
}

} // namespace

Bitmap readGif(std::span<const uint8_t> file, const ImageLimits& limits)
{
    checkFirstPictureComplete(file);
    GifShape shape = decodePass(file, limits, nullptr);
    Bitmap canvas(static_cast<int>(shape.width), static_cast<int>(shape.height), PixelFormat::Bpp8);
    decodePass(file, limits, &canvas);
    return canvas;
}
