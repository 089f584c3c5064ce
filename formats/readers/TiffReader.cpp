#include "formats/readers/TiffReader.h"

#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Pixels converted per band: the band's RGBA buffer stays at 64 MB or less.
constexpr uint64_t kBandPixels = uint64_t{16} << 20;

struct MemoryFile {
    std::span<const uint8_t> data;
    uint64_t at = 0;
    std::string error;
    bool endedEarly = false;
};

tmsize_t readProc(thandle_t h, void* into, tmsize_t size)
{
    auto* f = static_cast<MemoryFile*>(h);
    if (size <= 0 || f->at >= f->data.size()) {
        return 0;
    }
    size_t n = std::min<uint64_t>(static_cast<uint64_t>(size), f->data.size() - f->at);
    std::memcpy(into, f->data.data() + f->at, n);
    f->at += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<MemoryFile*>(h);
    uint64_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? f->data.size() : 0;
    f->at = base + offset;
    return f->at;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    return static_cast<MemoryFile*>(h)->data.size();
}

int mapProc(thandle_t h, void** base, toff_t* size)
{
    auto* f = static_cast<MemoryFile*>(h);
    *base = const_cast<uint8_t*>(f->data.data()); // libtiff only reads a mapping opened for reading
    *size = f->data.size();
    return 1;
}

void unmapProc(thandle_t, void*, toff_t)
{
}

int onError(TIFF*, void* user, const char*, const char* format, va_list args)
{
    auto* f = static_cast<MemoryFile*>(user);
    if (f->error.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        f->error = text;
    }
    return 1;
}

// libtiff's warnings (unknown tags and the like) are not the user's concern, except that fax coding
// reports data that ends early only as a warning: that is truncation here.
int onWarning(TIFF*, void* user, const char*, const char* format, va_list args)
{
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    auto* f = static_cast<MemoryFile*>(user);
    if (std::strstr(text, "Premature EOF") != nullptr && f->error.empty()) {
        f->error = text;
        f->endedEarly = true;
    }
    return 1;
}

struct CloseTiff {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

[[noreturn]] void fail(const MemoryFile& f)
{
    if (f.endedEarly) {
        throw ZentrapError("Truncated TIFF file: " + f.error);
    }
    throw ZentrapError("Damaged TIFF file: " + (f.error.empty() ? std::string("cannot be decoded") : f.error));
}

// The most that each compression can expand; 0 where no useful bound is known.
uint64_t maxExpansion(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return 1040;
    case COMPRESSION_LZW:
        return 8192;
    default:
        return 0;
    }
}

// Refuses, before memory is taken for the picture, stored data too short to hold it.
void checkDataLength(TIFF* tif, uint32_t width, uint32_t height)
{
    uint16_t compression = COMPRESSION_NONE;
    uint16_t samples = 1;
    uint16_t bits = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    uint64_t ratio = maxExpansion(compression);
    if (ratio == 0) {
        return;
    }
    uint64_t stored = 0;
    uint32_t count = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t i = 0; i < count; ++i) {
        stored += std::min<uint64_t>(TIFFGetStrileByteCount(tif, i), TIFFGetSizeProc(tif)(TIFFClientdata(tif)));
    }
    uint64_t raw = uint64_t{width} * height * samples * bits / 8;
    if (raw > stored * ratio + 1024) {
        throw ZentrapError("Truncated TIFF file: the image data ends early");
    }
}

// Black-and-white pictures stay 1-bit: a fax-coded page may be large for its few bytes.
bool isBilevel(TIFF* tif)
{
    uint16_t bits = 0;
    uint16_t samples = 0;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE; // what libtiff assumes when the tag is missing
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    return bits == 1 && samples == 1 && photometric != PHOTOMETRIC_PALETTE;
}

void convertBilevelBand(const std::vector<uint32_t>& rgba, Bitmap& out, uint32_t firstRow, uint32_t rows)
{
    const auto width = static_cast<size_t>(out.width());
    for (uint32_t y = 0; y < rows; ++y) {
        const uint32_t* in = rgba.data() + y * width;
        uint8_t* o = out.row(static_cast<int>(firstRow + y));
        for (size_t x = 0; x < width; ++x) {
            if (TIFFGetR(in[x]) >= 128) {
                o[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
}

void convertBand(const std::vector<uint32_t>& rgba, Bitmap& out, uint32_t firstRow, uint32_t rows)
{
    if (out.pixelFormat() == PixelFormat::Bpp1) {
        convertBilevelBand(rgba, out, firstRow, rows);
        return;
    }
    const auto width = static_cast<size_t>(out.width());
    for (uint32_t y = 0; y < rows; ++y) {
        const uint32_t* in = rgba.data() + y * width;
        uint8_t* o = out.row(static_cast<int>(firstRow + y));
        for (size_t x = 0; x < width; ++x, o += 3) {
            o[0] = static_cast<uint8_t>(TIFFGetB(in[x]));
            o[1] = static_cast<uint8_t>(TIFFGetG(in[x]));
            o[2] = static_cast<uint8_t>(TIFFGetR(in[x]));
        }
    }
}

} // namespace

Bitmap readTiff(std::span<const uint8_t> file, const ImageLimits& limits)
{
    MemoryFile f;
    f.data = file;
    std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(), TIFFOpenOptionsFree);
    // libtiff refuses any single allocation above the working limit (a strip or tile buffer).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(limits.maxWorkingBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onError, &f);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onWarning, &f);
    std::unique_ptr<TIFF, CloseTiff> tif(TIFFClientOpenExt("image", "rm", &f, readProc, writeProc, seekProc, closeProc,
                                                           sizeProc, mapProc, unmapProc, options.get()));
    if (!tif) {
        fail(f);
    }
    f.error.clear(); // what libtiff tolerated in the directory; decoding errors count from here
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    checkImageSize(width, height, limits);
    checkDataLength(tif.get(), width, height);

    char message[1024] = "";
    TIFFRGBAImage image{};
    // Stop at the first error: otherwise libtiff goes on and hands out blank bands for data it could not decode.
    if (!TIFFRGBAImageOK(tif.get(), message) || !TIFFRGBAImageBegin(&image, tif.get(), 1, message)) {
        throw ZentrapError(std::string("Unsupported TIFF file: ") + message);
    }
    std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> end(&image, TIFFRGBAImageEnd);
    image.req_orientation = ORIENTATION_TOPLEFT;
    auto bandRows = static_cast<uint32_t>(std::clamp<uint64_t>(kBandPixels / width, 1, height));
    std::vector<uint32_t> rgba(size_t{width} * bandRows);
    // The first pass decodes and drops the bands: damaged or missing data is found before the
    // picture's memory is taken.
    const bool bilevel = isBilevel(tif.get());
    Bitmap out;
    for (Bitmap* target : {static_cast<Bitmap*>(nullptr), &out}) {
        if (target != nullptr) {
            *target = Bitmap(static_cast<int>(width), static_cast<int>(height),
                             bilevel ? PixelFormat::Bpp1 : PixelFormat::Bpp24);
            if (bilevel) {
                target->setColorTable(greyRamp(2));
            }
        }
        for (uint32_t y = 0; y < height; y += bandRows) {
            uint32_t rows = std::min(bandRows, height - y);
            image.row_offset = static_cast<int>(y);
            image.col_offset = 0;
            if (!TIFFRGBAImageGet(&image, rgba.data(), width, rows) || !f.error.empty()) {
                fail(f);
            }
            if (target != nullptr) {
                convertBand(rgba, *target, y, rows);
            }
        }
    }
    return out;
}
