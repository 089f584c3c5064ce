#include "formats/readers/PngReader.h"

#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>

// libpng reports errors by longjmp. Every function below that calls libpng arms the jump itself and
// keeps only trivially destructible locals, turning the outcome into a result for its caller.

namespace {

// A chunk longer than this is refused by libpng before it allocates for it.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
// Deflate expands at most about 1032 times: compressed data smaller than that cannot hold the picture.
constexpr uint64_t kMaxDeflateRatio = 1040;

struct PngJob {
    std::span<const uint8_t> file;
    size_t at = 8;
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[200] = "";
};

void onError(png_structp png, png_const_charp message)
{
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message);
    png_longjmp(png, 1);
}

// libpng's warnings (a questionable colour profile, a bad ancillary checksum) are not the user's concern.
void onWarning(png_structp, png_const_charp)
{
}

void readBytes(png_structp png, png_bytep into, png_size_t count)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (job->at > job->file.size() || job->file.size() - job->at < count) {
        png_error(png, "the file ends early");
    }
    std::memcpy(into, job->file.data() + job->at, count);
    job->at += count;
}

uint32_t bigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Sums the image data chunks' lengths; a chunk that runs past the end of the file is truncation.
uint64_t compressedImageBytes(std::span<const uint8_t> file)
{
    uint64_t total = 0;
    size_t at = 8;
    while (at + 8 <= file.size()) {
        uint32_t length = bigEndian32(file.data() + at);
        if (length > file.size() - at - 8) {
            break;
        }
        if (std::memcmp(file.data() + at + 4, "IDAT", 4) == 0) {
            total += length;
        }
        if (std::memcmp(file.data() + at + 4, "IEND", 4) == 0) {
            break;
        }
        at += 12 + size_t{length};
    }
    return total;
}

bool readHeader(PngJob& job)
{
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    // Sizes are checked by checkImageSize, with its message; libpng's own limit only stays above it.
    png_set_user_limits(job.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_malloc_max(job.png, kMaxChunkBytes);
    png_set_chunk_cache_max(job.png, 1000);
    // Text, colour profiles and suggested palettes are not used: skip them unread.
    static const png_byte ignored[] = "iCCP\0iTXt\0sPLT\0tEXt\0zTXt\0eXIf\0";
    png_set_keep_unknown_chunks(job.png, PNG_HANDLE_CHUNK_NEVER, ignored, 6);
    png_set_read_fn(job.png, &job, readBytes);
    png_set_sig_bytes(job.png, 8);
    png_read_info(job.png, job.info);
    return true;
}

// What the rows become in memory, set up through libpng's transformations.
PixelFormat chooseLayout(png_structp png, png_infop info)
{
    int colorType = png_get_color_type(png, info);
    int depth = png_get_bit_depth(png, info);
    if (depth == 16) {
        png_set_strip_16(png);
    }
    if (colorType & PNG_COLOR_MASK_ALPHA) {
        png_set_strip_alpha(png);
    }
    switch (colorType) {
    case PNG_COLOR_TYPE_PALETTE:
        if (depth == 1 || depth == 4) {
            return static_cast<PixelFormat>(depth);
        }
        png_set_packing(png);
        return PixelFormat::Bpp8;
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        if (depth == 1) {
            return PixelFormat::Bpp1;
        }
        if (depth < 8) {
            png_set_expand_gray_1_2_4_to_8(png);
        }
        return PixelFormat::Bpp8;
    default:
        png_set_bgr(png);
        return PixelFormat::Bpp24;
    }
}

bool prepareRows(PngJob& job, PixelFormat& format, int& passes)
{
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    format = chooseLayout(job.png, job.info);
    passes = png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return true;
}

// Where decoded rows go: the picture's rows, or (for a top-left part) whole rows kept aside for
// the part's rows and one scratch row for all others.
struct RowTargets {
    Bitmap* out = nullptr;
    bool part = false;
    std::vector<uint8_t>* kept = nullptr; // the part's rows at full width, one after the other
    size_t rowBytes = 0;
    uint8_t* scratch = nullptr;

    uint8_t* row(uint32_t y) const
    {
        if (out == nullptr) {
            return scratch;
        }
        if (!part) {
            return out->row(static_cast<int>(y));
        }
        return y < static_cast<uint32_t>(out->height()) ? kept->data() + y * rowBytes : scratch;
    }
};

// Non-interlaced pictures stop after the last row wanted; interlaced ones need every pass.
bool readRows(PngJob& job, const RowTargets& targets, uint32_t height, int passes)
{
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    uint32_t rows = passes == 1 && targets.part ? static_cast<uint32_t>(targets.out->height()) : height;
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < rows; ++y) {
            png_read_row(job.png, targets.row(y), nullptr);
        }
    }
    return true;
}

std::vector<RgbQuad> colorTable(PngJob& job, PixelFormat format)
{
    std::vector<RgbQuad> table(size_t{1} << bitsPerPixel(format));
    if (png_get_color_type(job.png, job.info) != PNG_COLOR_TYPE_PALETTE) {
        return greyRamp(static_cast<int>(table.size()));
    }
    png_colorp palette = nullptr;
    int count = 0;
    png_get_PLTE(job.png, job.info, &palette, &count);
    for (int i = 0; i < count && static_cast<size_t>(i) < table.size(); ++i) {
        table[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    }
    return table;
}

// Owns libpng's structures for one read.
class PngReadState {
public:
    explicit PngReadState(PngJob& job) : job_(job)
    {
        job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onError, onWarning);
        job.info = job.png ? png_create_info_struct(job.png) : nullptr;
        if (job.info == nullptr) {
            throw ZentrapError("Out of memory");
        }
    }
    ~PngReadState() { png_destroy_read_struct(&job_.png, &job_.info, nullptr); }
    PngReadState(const PngReadState&) = delete;
    PngReadState& operator=(const PngReadState&) = delete;

    [[noreturn]] void fail() const { throw ZentrapError(std::string("Damaged PNG file: ") + job_.message); }

private:
    PngJob& job_;
};

struct PngShape {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    PixelFormat format = PixelFormat::Bpp24;
};

// One decoding pass over the file. Without `out` every row goes to a scratch row: that first pass
// finds damaged or missing data before the picture's memory is taken, so only sound data can make
// the reader allocate a large picture.
PngShape decodePass(std::span<const uint8_t> file, const ImageLimits& limits, Bitmap* out, PicturePart* part)
{
    PngJob job;
    job.file = file;
    PngReadState state(job);
    if (!readHeader(job)) {
        state.fail();
    }
    PngShape shape;
    shape.width = png_get_image_width(job.png, job.info);
    shape.height = png_get_image_height(job.png, job.info);
    checkImageSize(shape.width, shape.height, limits);
    uint64_t rawBytes =
        (uint64_t{shape.width} * png_get_channels(job.png, job.info) * png_get_bit_depth(job.png, job.info) / 8) *
        shape.height;
    if (rawBytes > kMaxDeflateRatio * compressedImageBytes(file) + 1024) {
        throw ZentrapError("Truncated PNG file: the image data ends early");
    }
    int passes = 1;
    if (!prepareRows(job, shape.format, passes)) {
        state.fail();
    }
    size_t rowBytes = png_get_rowbytes(job.png, job.info);
    if (rowBytes > dibStride(static_cast<int>(shape.width), shape.format)) {
        throw ZentrapError("Damaged PNG file: unexpected row layout");
    }
    std::vector<uint8_t> scratch(rowBytes);
    std::vector<uint8_t> kept;
    if (part != nullptr) {
        part->picture = {static_cast<int>(shape.width), static_cast<int>(shape.height)};
        Size size = part->within(part->picture.width, part->picture.height);
        *out = Bitmap(size.width, size.height, shape.format);
        kept.resize(rowBytes * static_cast<size_t>(size.height));
    }
    if (out != nullptr && shape.format != PixelFormat::Bpp24) {
        out->setColorTable(colorTable(job, shape.format));
    }
    RowTargets targets{out, part != nullptr, &kept, rowBytes, scratch.data()};
    if (!readRows(job, targets, shape.height, passes)) {
        state.fail();
    }
    if (part != nullptr) {
        const size_t bytes = std::min(out->stride(), rowBytes);
        for (int y = 0; y < out->height(); ++y) {
            std::memcpy(out->row(y), kept.data() + static_cast<size_t>(y) * rowBytes, bytes);
        }
    }
    return shape;
}

} // namespace

Bitmap readPng(std::span<const uint8_t> file, const ImageLimits& limits, PicturePart* part)
{
    Bitmap out;
    if (part != nullptr) {
        // The part is small: one pass decodes into it directly.
        decodePass(file, limits, &out, part);
        return out;
    }
    PngShape shape = decodePass(file, limits, nullptr, nullptr);
    out = Bitmap(static_cast<int>(shape.width), static_cast<int>(shape.height), shape.format);
    decodePass(file, limits, &out, nullptr);
    return out;
}
