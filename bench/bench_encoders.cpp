// Each encoder timed beside the library people would otherwise call, in the same run:
// BMP and TIFF beside a memcpy of the pixels, PNG beside libpng at level 6 with its default
// filters, JPEG beside libjpeg-turbo called directly. A summary of ratios follows the table.
#include "bench/support/Corpus.h"
#include "common/ByteSink.h"
#include "formats/BmpChannelOrder.h"
#include "formats/BmpWriter.h"
#include "formats/JpegCodec.h"
#include "formats/PngFilter.h"
#include "formats/PngWriter.h"
#include "formats/TiffWriter.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// The peer: libjpeg-turbo's own API, as a program would call it without Zentrap.
#include <jpeglib.h>

namespace {

constexpr int kJpegQuality = 75;

size_t pixelBytes(const Bitmap& b)
{
    return static_cast<size_t>(b.width()) * 3 * static_cast<size_t>(b.height());
}

void reportBytes(benchmark::State& state, const Bitmap& b, size_t outputBytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pixelBytes(b)));
    state.counters["out_bytes"] = static_cast<double>(outputBytes);
}

void memcpyFloor(benchmark::State& state, const Bitmap& b)
{
    std::vector<uint8_t> out(b.byteCount());
    for (auto _ : state) {
        std::memcpy(out.data(), b.bits(), b.byteCount());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    reportBytes(state, b, out.size());
}

// Times one of our writers into memory; `write` is called as write(bitmap, sink).
template <typename Write> void timeWriter(benchmark::State& state, const Bitmap& b, Write write)
{
    size_t size = 0;
    for (auto _ : state) {
        VectorSink sink;
        write(b, sink);
        size = sink.bytes.size();
        benchmark::DoNotOptimize(sink.bytes.data());
    }
    reportBytes(state, b, size);
}

void bmpFile(benchmark::State& state, const Bitmap& b)
{
    timeWriter(state, b, [](const Bitmap& image, ByteSink& sink) { writeBmpFile(image, sink); });
}

void tiffFile(benchmark::State& state, const Bitmap& b)
{
    timeWriter(state, b, [](const Bitmap& image, ByteSink& sink) { writeTiff(sink, image); });
}

void pngOurs(benchmark::State& state, const Bitmap& b)
{
    timeWriter(state, b, [](const Bitmap& image, ByteSink& sink) { writePng(image, sink); });
}

// The filter choice alone (with the row conversion the writer also does), to weigh it against the total.
void pngFilterChoice(benchmark::State& state, const Bitmap& b)
{
    const size_t rowBytes = static_cast<size_t>(b.width()) * 3;
    std::vector<uint8_t> rgb(rowBytes);
    for (auto _ : state) {
        PngRowFilter filter(rowBytes, 3);
        size_t sum = 0;
        for (int y = 0; y < b.height(); ++y) {
            bgrRowToRgb(b.row(y), rgb.data(), static_cast<size_t>(b.width()), 24);
            sum += filter.filterRow(rgb.data())[0];
        }
        benchmark::DoNotOptimize(sum);
    }
    reportBytes(state, b, 0);
}

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void libpng(benchmark::State& state, const Bitmap& b)
{
    size_t size = 0;
    std::vector<png_bytep> rows(static_cast<size_t>(b.height()));
    for (int y = 0; y < b.height(); ++y) {
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(b.row(y));
    }
    for (auto _ : state) {
        std::vector<uint8_t> out;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            state.SkipWithError("libpng failed");
            return;
        }
        png_set_write_fn(png, &out, appendToVector, nullptr);
        png_set_compression_level(png, 6);
        png_set_IHDR(png, info, static_cast<png_uint_32>(b.width()), static_cast<png_uint_32>(b.height()), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_set_bgr(png);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    reportBytes(state, b, size);
}

void jpegOurs(benchmark::State& state, const Bitmap& b, bool progressive)
{
    size_t size = 0;
    for (auto _ : state) {
        std::vector<uint8_t> out = encodeJpeg(b, kJpegQuality, progressive);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    reportBytes(state, b, size);
}

// libjpeg-turbo alone with the same settings, fed the bitmap's blue-green-red rows directly.
void libjpegDirect(benchmark::State& state, const Bitmap& b, bool progressive)
{
    size_t size = 0;
    for (auto _ : state) {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_compress(&cinfo);
        unsigned char* buffer = nullptr;
        unsigned long length = 0;
        jpeg_mem_dest(&cinfo, &buffer, &length);
        cinfo.image_width = static_cast<JDIMENSION>(b.width());
        cinfo.image_height = static_cast<JDIMENSION>(b.height());
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, kJpegQuality, TRUE);
        if (progressive) {
            jpeg_simple_progression(&cinfo);
        }
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(b.row(static_cast<int>(cinfo.next_scanline)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        size = length;
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
    }
    reportBytes(state, b, size);
}

// Keeps every run's time per iteration (ms) and output size by name for the summary.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Figure {
        double ms = 0;
        double bytes = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            Figure f;
            f.ms = run.GetAdjustedCPUTime() * msPerUnit(run.time_unit);
            auto counter = run.counters.find("out_bytes");
            f.bytes = counter == run.counters.end() ? 0 : static_cast<double>(counter->second);
            figures[run.benchmark_name()] = f;
        }
    }

    std::map<std::string, Figure> figures;

private:
    static double msPerUnit(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-6;
        case benchmark::kMicrosecond:
            return 1e-3;
        case benchmark::kMillisecond:
            return 1.0;
        default:
            return 1e3;
        }
    }
};

void printSummary(const RatioReporter& reporter, const std::vector<std::string>& labels)
{
    auto get = [&](const std::string& name) -> const RatioReporter::Figure* {
        auto it = reporter.figures.find(name);
        return it == reporter.figures.end() ? nullptr : &it->second;
    };
    std::printf("\nSummary (ratios of CPU times measured in this run; wall time suffers from other load)\n");
    for (const std::string& label : labels) {
        const auto* floor = get("memcpy/" + label);
        const auto* bmp = get("bmp/" + label);
        const auto* tiff = get("tiff/" + label);
        const auto* png = get("png/" + label);
        const auto* peerPng = get("libpng/" + label);
        const auto* filter = get("png_filter_choice/" + label);
        if (floor && bmp && tiff) {
            std::printf(
                "%-8s BMP %.2f ms = %.2f x memcpy (limit 2 x %.2f + 1 = %.2f ms); TIFF %.2f ms = %.2f x memcpy\n",
                label.c_str(), bmp->ms, bmp->ms / floor->ms, floor->ms, 2 * floor->ms + 1, tiff->ms,
                tiff->ms / floor->ms);
        }
        if (png && peerPng && filter) {
            std::printf("%-8s PNG %.1f ms = %.3f x libpng (%.1f ms); filter choice %.1f ms = %.1f %% of PNG; "
                        "size %.0f vs libpng %.0f bytes (%.3f)\n",
                        label.c_str(), png->ms, png->ms / peerPng->ms, peerPng->ms, filter->ms,
                        100 * filter->ms / png->ms, png->bytes, peerPng->bytes, png->bytes / peerPng->bytes);
        }
        for (const char* mode : {"baseline", "progressive"}) {
            const auto* ours = get(std::string("jpeg_") + mode + "/" + label);
            const auto* peer = get(std::string("libjpeg_") + mode + "/" + label);
            if (ours && peer) {
                std::printf("%-8s JPEG %-11s %.1f ms = %.3f x libjpeg-turbo (%.1f ms); size %.0f vs %.0f bytes\n",
                            label.c_str(), mode, ours->ms, ours->ms / peer->ms, peer->ms, ours->bytes, peer->bytes);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> labels;
    for (const std::string& name : corpusNames()) {
        const Bitmap* image = &corpusImage(name); // decoded here, outside every timed region
        std::string label = corpusLabel(name);
        labels.push_back(label);
        benchmark::RegisterBenchmark(("memcpy/" + label).c_str(), memcpyFloor, *image);
        benchmark::RegisterBenchmark(("bmp/" + label).c_str(), bmpFile, *image);
        benchmark::RegisterBenchmark(("tiff/" + label).c_str(), tiffFile, *image);
        benchmark::RegisterBenchmark(("libpng/" + label).c_str(), libpng, *image);
        benchmark::RegisterBenchmark(("png/" + label).c_str(), pngOurs, *image);
        benchmark::RegisterBenchmark(("png_filter_choice/" + label).c_str(), pngFilterChoice, *image);
        for (bool progressive : {false, true}) {
            std::string mode = progressive ? "progressive" : "baseline";
            benchmark::RegisterBenchmark(("libjpeg_" + mode + "/" + label).c_str(), libjpegDirect, *image, progressive);
            benchmark::RegisterBenchmark(("jpeg_" + mode + "/" + label).c_str(), jpegOurs, *image, progressive);
        }
    }
    if (labels.empty()) {
        std::fprintf(stderr, "no corpus pictures in %s\n", corpusDir().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter, labels);
    benchmark::Shutdown();
    return 0;
}
