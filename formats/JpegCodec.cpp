#include "formats/JpegCodec.h"

#include "common/ZentrapError.h"
#include "formats/BmpChannelOrder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>

// jpeglib.h expects size_t and FILE to be declared first; jerror.h needs jpeglib.h.
#include <jpeglib.h>

#include <jerror.h>

// libjpeg reports errors by calling error_exit, which must not return: it longjmps back to the
// function that made the call. That function keeps only trivially destructible locals alive
// across the jump and leaves it to its caller to turn the outcome into an exception.

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void exitWithMessage(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (corrupt data that libjpeg recovers from) are not errors here.
void ignoreMessage(j_common_ptr)
{
}

void initErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = exitWithMessage;
    err.pub.output_message = ignoreMessage;
    err.message[0] = '\0';
}

// The destination: libjpeg fills a fixed block that is handed to the sink when full.
struct SinkDestination {
    jpeg_destination_mgr pub;
    ByteSink* out;
    std::exception_ptr error; // what the sink threw, raised again once libjpeg has let go
    JOCTET block[16384];
};

void initDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->block;
    dest->pub.free_in_buffer = sizeof dest->block;
}

// The sink may throw; the exception must not cross libjpeg's C frames, so it is kept and libjpeg
// is stopped with a write error once the handler has finished.
bool passBlock(SinkDestination* dest, size_t size) noexcept
{
    try {
        dest->out->write(dest->block, size);
        return true;
    } catch (...) {
        dest->error = std::current_exception();
        return false;
    }
}

boolean emptyOutputBuffer(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    if (!passBlock(dest, sizeof dest->block)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    dest->pub.next_output_byte = dest->block;
    dest->pub.free_in_buffer = sizeof dest->block;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
    if (!passBlock(dest, sizeof dest->block - dest->pub.free_in_buffer)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

// One row as red, green, blue: pictures of any format are encoded without a converted copy.
void rowToRgb(const Bitmap& image, int y, uint8_t* out)
{
    if (!isIndexed(image.pixelFormat())) {
        bgrRowToRgb(image.row(y), out, static_cast<size_t>(image.width()), image.bitsPerPixel());
        return;
    }
    for (int x = 0; x < image.width(); ++x, out += 3) {
        ColorRef color = image.pixelColor(x, y);
        out[0] = redOf(color);
        out[1] = greenOf(color);
        out[2] = blueOf(color);
    }
}

struct CompressJob {
    const Bitmap* image;
    int quality;
    bool progressive;
    uint8_t* rgbRow; // one row of red, green, blue
    SinkDestination* destination;
};

// Returns false with err.message set when libjpeg failed.
bool compress(const CompressJob& job, ErrorManager& err)
{
    jpeg_compress_struct cinfo;
    initErrorManager(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    job.destination->pub.init_destination = initDestination;
    job.destination->pub.empty_output_buffer = emptyOutputBuffer;
    job.destination->pub.term_destination = termDestination;
    cinfo.dest = &job.destination->pub;

    const Bitmap& image = *job.image;
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job.quality, TRUE);
    if (job.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW rows[1] = {job.rgbRow};
    while (cinfo.next_scanline < cinfo.image_height) {
        rowToRgb(image, static_cast<int>(cinfo.next_scanline), job.rgbRow);
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

// A bitmap larger than this is refused before it is allocated (about 800 MB of pixels).
constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 28;

bool allocateBitmap(Bitmap* out, JDIMENSION width, JDIMENSION height) noexcept
{
    if (width == 0 || height == 0 || uint64_t{width} * height > kMaxDecodedPixels) {
        return false;
    }
    try {
        *out = Bitmap(static_cast<int>(width), static_cast<int>(height), PixelFormat::Bpp24);
        return true;
    } catch (...) {
        return false;
    }
}

void rgbToBgrInPlace(uint8_t* row, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, row += 3) {
        uint8_t red = row[0];
        row[0] = row[2];
        row[2] = red;
    }
}

struct DecompressJob {
    std::span<const uint8_t> data;
    Bitmap* out;
    bool badSize;
};

bool decompress(DecompressJob& job, ErrorManager& err)
{
    jpeg_decompress_struct cinfo;
    initErrorManager(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, job.data.data(), static_cast<unsigned long>(job.data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    cinfo.do_block_smoothing = TRUE;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3 || !allocateBitmap(job.out, cinfo.output_width, cinfo.output_height)) {
        job.badSize = true;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {job.out->row(static_cast<int>(cinfo.output_scanline))};
        if (jpeg_read_scanlines(&cinfo, rows, 1) == 1) {
            rgbToBgrInPlace(rows[0], cinfo.output_width);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

void writeJpeg(const Bitmap& image, const JpegOptions& options, ByteSink& out)
{
    if (options.quality < 1 || options.quality > 100) {
        throw ZentrapError("JPEG quality must be between 1 and 100");
    }
    const Bitmap* source = &image;
    std::vector<uint8_t> rgbRow(static_cast<size_t>(source->width()) * 3 + 1);
    auto destination = std::make_unique<SinkDestination>();
    destination->out = &out;
    ErrorManager err;
    CompressJob job{source, options.quality, options.progressive, rgbRow.data(), destination.get()};
    if (!compress(job, err)) {
        if (destination->error) {
            std::rethrow_exception(destination->error);
        }
        throw ZentrapError(err.message);
    }
}

std::vector<uint8_t> encodeJpeg(const Bitmap& image, int quality, bool progressive)
{
    VectorSink sink;
    writeJpeg(image, JpegOptions{quality, progressive}, sink);
    return std::move(sink.bytes);
}

Bitmap decodeJpeg(std::span<const uint8_t> data)
{
    Bitmap out;
    ErrorManager err;
    DecompressJob job{data, &out, false};
    if (!decompress(job, err)) {
        throw ZentrapError(job.badSize ? std::string("Unsupported JPEG image size") : std::string(err.message));
    }
    return out;
}

namespace {

// Progressive files can hold any number of scans, each costing a pass over the coefficients;
// real files use at most a few dozen (libjpeg-turbo's advice for files from outside is 100).
constexpr long kMaxScans = 100;

struct FileErrorManager {
    ErrorManager base;
    bool endedEarly;
    bool tooManyScans;
};

// Data that ends early or that the entropy decoder cannot follow is an error here: libjpeg would go
// on with grey or made-up blocks. Other warnings (stray bytes between markers and the like) are
// recovered from quietly.
void noteWarning(j_common_ptr cinfo, int level)
{
    auto* err = reinterpret_cast<FileErrorManager*>(cinfo->err);
    if (level >= 0) {
        return;
    }
    int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
        err->endedEarly = true;
        std::snprintf(err->base.message, sizeof err->base.message, "the image data ends early");
        std::longjmp(err->base.jump, 1);
    }
    if (code == JWRN_HUFF_BAD_CODE || code == JWRN_MUST_RESYNC) {
        (*cinfo->err->format_message)(cinfo, err->base.message);
        std::longjmp(err->base.jump, 1);
    }
}

void limitScans(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<FileErrorManager*>(cinfo->err);
        err->tooManyScans = true;
        std::snprintf(err->base.message, sizeof err->base.message,
                      "JPEG file refused: it has more than %ld progressive scans", kMaxScans);
        std::longjmp(err->base.jump, 1);
    }
}

struct FileDecodeJob {
    jpeg_decompress_struct cinfo;
    FileErrorManager err;
    jpeg_progress_mgr progress;
    bool created;
};

void initFileErrors(FileDecodeJob& job)
{
    initErrorManager(job.err.base);
    job.err.base.pub.emit_message = noteWarning;
    job.err.endedEarly = false;
    job.err.tooManyScans = false;
    job.cinfo.err = &job.err.base.pub;
}

bool readFileHeader(FileDecodeJob& job, std::span<const uint8_t> data, size_t maxWorkingMemory, JpegFileHeader& header)
{
    if (setjmp(job.err.base.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&job.cinfo);
    job.created = true;
    job.cinfo.mem->max_memory_to_use = static_cast<long>(maxWorkingMemory);
    job.progress.progress_monitor = limitScans;
    job.cinfo.progress = &job.progress;
    jpeg_mem_src(&job.cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&job.cinfo, TRUE);
    header.width = job.cinfo.image_width;
    header.height = job.cinfo.image_height;
    header.components = job.cinfo.num_components;
    header.arithmetic = job.cinfo.arith_code != 0;
    header.progressive = job.cinfo.progressive_mode != 0;
    header.fileBytes = data.size();
    for (int i = 0; i < job.cinfo.num_components; ++i) {
        header.blocks += uint64_t{job.cinfo.comp_info[i].width_in_blocks} * job.cinfo.comp_info[i].height_in_blocks;
    }
    bool grey = job.cinfo.num_components == 1;
    // libjpeg turns YCCK into CMYK but neither into RGB: that step is ours (cmykRowToBgr).
    bool inks = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
    job.cinfo.out_color_space = grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    return true;
}

bool startFileDecode(FileDecodeJob& job)
{
    if (setjmp(job.err.base.jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&job.cinfo);
    return true;
}

// Ink amounts to light: each of red, green and blue is what its ink (cyan, magenta, yellow) and
// black leave of white. Adobe's files store the amounts inverted (255 = no ink), others plainly.
void cmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned k = inverted ? cmyk[3] : 255U - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            unsigned left = inverted ? cmyk[c] : 255U - cmyk[c];
            bgr[2 - c] = static_cast<uint8_t>((left * k + 127) / 255);
        }
    }
}

// Rows go into the picture, or all into one scratch row when there is no picture yet. CMYK rows
// and the rows of a picture narrower than the file's (a top-left part) go through the scratch row;
// decoding stops after the picture's last row.
bool readFileRows(FileDecodeJob& job, Bitmap* out, uint8_t* scratch)
{
    if (setjmp(job.err.base.jump) != 0) {
        return false;
    }
    const bool inks = job.cinfo.out_color_space == JCS_CMYK;
    const bool rgb = out != nullptr && out->pixelFormat() == PixelFormat::Bpp24 && !inks;
    const bool direct = out != nullptr && !inks && static_cast<JDIMENSION>(out->width()) == job.cinfo.output_width;
    const JDIMENSION rowsWanted = out ? static_cast<JDIMENSION>(out->height()) : job.cinfo.output_height;
    while (job.cinfo.output_scanline < rowsWanted) {
        int y = static_cast<int>(job.cinfo.output_scanline);
        JSAMPROW rows[1] = {direct ? out->row(y) : scratch};
        if (jpeg_read_scanlines(&job.cinfo, rows, 1) != 1 || out == nullptr) {
            continue;
        }
        auto width = static_cast<JDIMENSION>(out->width());
        if (inks) {
            cmykRowToBgr(scratch, out->row(y), width, job.cinfo.saw_Adobe_marker != 0);
            continue;
        }
        if (!direct) {
            std::memcpy(out->row(y), scratch, size_t{width} * static_cast<size_t>(job.cinfo.output_components));
        }
        if (rgb) {
            rgbToBgrInPlace(out->row(y), width);
        }
    }
    if (rowsWanted < job.cinfo.output_height) {
        jpeg_abort_decompress(&job.cinfo);
    } else {
        jpeg_finish_decompress(&job.cinfo);
    }
    return true;
}

// Owns the decompressor for one file.
class FileDecodeState {
public:
    FileDecodeState() : job_(std::make_unique<FileDecodeJob>())
    {
        job_->created = false;
        initFileErrors(*job_);
    }
    ~FileDecodeState()
    {
        if (job_->created) {
            jpeg_destroy_decompress(&job_->cinfo);
        }
    }
    FileDecodeState(const FileDecodeState&) = delete;
    FileDecodeState& operator=(const FileDecodeState&) = delete;

    FileDecodeJob& job() { return *job_; }
    [[noreturn]] void fail() const
    {
        if (job_->err.tooManyScans) {
            throw ZentrapError(job_->err.base.message);
        }
        throw ZentrapError(std::string(job_->err.endedEarly ? "Truncated JPEG file: " : "Damaged JPEG file: ") +
                           job_->err.base.message);
    }

private:
    std::unique_ptr<FileDecodeJob> job_;
};

} // namespace

namespace {

// One decoding pass. Without `out` the rows are decoded and dropped: that first pass finds damaged
// or missing data before the picture's memory is taken.
void decodeFilePass(std::span<const uint8_t> data, const std::function<void(const JpegFileHeader&)>& checkHeader,
                    size_t maxWorkingMemory, Bitmap* out, Size wanted)
{
    FileDecodeState state;
    FileDecodeJob& job = state.job();
    JpegFileHeader header;
    if (!readFileHeader(job, data, maxWorkingMemory, header)) {
        state.fail();
    }
    checkHeader(header);
    if (!startFileDecode(job)) {
        state.fail();
    }
    bool grey = job.cinfo.output_components == 1;
    bool inks = job.cinfo.out_color_space == JCS_CMYK;
    if (!grey && job.cinfo.output_components != (inks ? 4 : 3)) {
        throw ZentrapError("Unsupported JPEG file: " + std::to_string(job.cinfo.output_components) +
                           " colour channels");
    }
    std::vector<uint8_t> scratch(size_t{job.cinfo.output_width} * (inks ? 4 : 3));
    if (out != nullptr) {
        *out = Bitmap(std::min(static_cast<int>(job.cinfo.output_width), wanted.width),
                      std::min(static_cast<int>(job.cinfo.output_height), wanted.height),
                      grey ? PixelFormat::Bpp8 : PixelFormat::Bpp24);
        if (grey) {
            out->setColorTable(greyRamp(256));
        }
    }
    if (!readFileRows(job, out, scratch.data())) {
        state.fail();
    }
}

} // namespace

Bitmap decodeJpegFile(std::span<const uint8_t> data, const std::function<void(const JpegFileHeader&)>& checkHeader,
                      size_t maxWorkingMemory)
{
    constexpr Size kWhole{std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
    decodeFilePass(data, checkHeader, maxWorkingMemory, nullptr, kWhole);
    Bitmap out;
    decodeFilePass(data, checkHeader, maxWorkingMemory, &out, kWhole);
    return out;
}

Bitmap decodeJpegFilePart(std::span<const uint8_t> data, const std::function<void(const JpegFileHeader&)>& checkHeader,
                          size_t maxWorkingMemory, Size wanted)
{
    // The part is small: one pass decodes into it directly and ends after its last row.
    Bitmap out;
    decodeFilePass(data, checkHeader, maxWorkingMemory, &out, wanted);
    return out;
}
