#include "GifTestSupport.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace giftest {

Bitmap noisePicture(int width, int height, uint32_t seed)
{
    Bitmap b(width, height, PixelFormat::Bpp24);
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = b.row(y);
        for (int x = 0; x < width * 3; ++x) {
            p[x] = static_cast<uint8_t>(rng());
        }
    }
    return b;
}

Bitmap screenshotPicture(int width, int height)
{
    Bitmap b(width, height, PixelFormat::Bpp24);
    const ColorRef palette[] = {makeColor(240, 240, 240), makeColor(0, 120, 215), makeColor(30, 30, 30),
                                makeColor(255, 255, 255), makeColor(200, 60, 40), makeColor(128, 128, 128)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ColorRef c = palette[0];
            if (y < height / 8) {
                c = palette[1]; // title bar
            } else if (x % 17 == 3 && y % 5 != 0) {
                c = palette[2]; // text strokes
            } else if (x > width / 2 && y > height / 2) {
                c = (x + y) % 23 == 0 ? palette[4] : palette[3];
            } else if (y == height / 2) {
                c = palette[5];
            }
            b.setPixelValue(x, y, c);
        }
    }
    return b;
}

Bitmap photoPicture(int width, int height, uint32_t seed)
{
    Bitmap b(width, height, PixelFormat::Bpp24);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double fx = width > 1 ? double(x) / (width - 1) : 0.0;
            double fy = height > 1 ? double(y) / (height - 1) : 0.0;
            auto clampByte = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); };
            uint8_t r = clampByte(255 * fx + noise(rng));
            uint8_t g = clampByte(127 + 120 * std::sin(6 * fy + 3 * fx) + noise(rng));
            uint8_t bl = clampByte(255 * (1 - fy) * fx + noise(rng));
            b.setPixelValue(x, y, makeColor(r, g, bl));
        }
    }
    return b;
}

Bitmap uniformPicture(int width, int height, uint8_t red, uint8_t green, uint8_t blue)
{
    Bitmap b(width, height, PixelFormat::Bpp24);
    b.fillRect({0, 0, width, height}, makeColor(red, green, blue));
    return b;
}

Bitmap indexedPicture(int width, int height, int colors, const std::vector<uint8_t>& indices)
{
    Bitmap b(width, height, PixelFormat::Bpp8);
    std::vector<RgbQuad> table(static_cast<size_t>(colors));
    for (int i = 0; i < colors; ++i) {
        table[static_cast<size_t>(i)] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                                         static_cast<uint8_t>(i * 3 + 1), 0};
    }
    b.setColorTable(std::move(table));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.row(y)[x] = indices[static_cast<size_t>(y * width + x)];
        }
    }
    return b;
}

namespace {

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    size_t available = reader->bytes->size() - reader->position;
    size_t n = std::min(available, static_cast<size_t>(length));
    std::memcpy(buffer, reader->bytes->data() + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

} // namespace

DecodedGif decodeWithGiflib(const std::vector<uint8_t>& bytes)
{
    DecodedGif out;
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
    if (gif == nullptr) {
        out.error = GifErrorString(error);
        return out;
    }
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
        out.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return out;
    }
    out.screenWidth = gif->SWidth;
    out.screenHeight = gif->SHeight;
    const SavedImage& image = gif->SavedImages[0];
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.indices.assign(image.RasterBits, image.RasterBits + static_cast<size_t>(out.width) * out.height);
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (map != nullptr) {
        for (int i = 0; i < map->ColorCount; ++i) {
            out.colors.push_back(map->Colors[i].Red);
            out.colors.push_back(map->Colors[i].Green);
            out.colors.push_back(map->Colors[i].Blue);
        }
    }
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) {
        out.transparentIndex = gcb.TransparentColor;
    }
    DGifCloseFile(gif, &error);
    out.ok = true;
    return out;
}

CodeStream readCodes(const std::vector<uint8_t>& imageData)
{
    CodeStream out;
    out.minCodeSize = imageData.at(0);
    std::vector<uint8_t> data;
    size_t pos = 1;
    while (pos < imageData.size() && imageData[pos] != 0) {
        size_t length = imageData[pos];
        data.insert(data.end(), imageData.begin() + static_cast<std::ptrdiff_t>(pos + 1),
                    imageData.begin() + static_cast<std::ptrdiff_t>(pos + 1 + length));
        pos += length + 1;
    }
    int clear = 1 << out.minCodeSize;
    int width = out.minCodeSize + 1;
    int next = clear + 2;
    bool first = true;
    uint64_t bits = 0;
    int pending = 0;
    size_t byte = 0;
    for (;;) {
        while (pending < width && byte < data.size()) {
            bits |= static_cast<uint64_t>(data[byte++]) << pending;
            pending += 8;
        }
        if (pending < width) {
            break;
        }
        int code = static_cast<int>(bits & ((1U << width) - 1));
        bits >>= width;
        pending -= width;
        out.codes.push_back(code);
        out.widths.push_back(width);
        if (code == clear) {
            out.nextAtClear.push_back(next);
            width = out.minCodeSize + 1;
            next = clear + 2;
            first = true;
            continue;
        }
        if (code == clear + 1) {
            break;
        }
        if (!first && next < 4096) {
            ++next;
            out.maxTableSize = std::max(out.maxTableSize, next);
            if (next == (1 << width) && width < 12) {
                ++width;
            }
        }
        first = false;
    }
    return out;
}

} // namespace giftest
