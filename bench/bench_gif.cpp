// The GIF variant from 24-bit pixels to file bytes, beside giflib writing the same indices and
// beside libimagequant + giflib doing the whole job.
#include "bench/support/CorpusPng.h"
#include "formats/GifFormat.h"
#include "formats/GifImage.h"
#include "formats/Octree.h"
#include "formats/Quantize.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#ifdef ZENTRAP_HAVE_IMAGEQUANT
#include <libimagequant.h>
#endif

#include <cstring>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

const char* const kPictures[] = {"desktop-1920x1080.png", "photo-1920x1080.png", "flat-1920x1080.png"};

// The corpus picture of the benchmark's argument, decoded once; null (and the benchmark skipped)
// when it cannot be read.
const Bitmap* picture(benchmark::State& state)
{
    static std::map<int64_t, Bitmap> cache;
    int64_t which = state.range(0);
    auto it = cache.find(which);
    if (it == cache.end()) {
        try {
            it = cache.emplace(which, loadCorpusPicture(kPictures[which])).first;
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return nullptr;
        }
    }
    return &it->second;
}

void labelPicture(benchmark::State& state, size_t bytes)
{
    state.SetLabel(std::string(kPictures[state.range(0)]) + " " + std::to_string(bytes) + " bytes");
}

void ourGif(benchmark::State& state, int ditherMode)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        GifOptions options;
        options.ditherMode = ditherMode;
        VectorSink sink;
        sink.bytes.reserve(1 << 20);
        writeGifVariant(*source, options, sink);
        bytes = sink.bytes.size();
        benchmark::DoNotOptimize(sink.bytes.data());
    }
    labelPicture(state, bytes);
}

void BM_ZentrapGifDefault(benchmark::State& state)
{
    ourGif(state, 0);
}
void BM_ZentrapGifFloydSteinberg(benchmark::State& state)
{
    ourGif(state, 1);
}

// The parts of the default variant on their own.
void BM_ZentrapOptimizedPalette(benchmark::State& state)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeOptimizedPalette(*source, 256, 8, true));
    }
}

void BM_ZentrapQuantize(benchmark::State& state)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(QuantizeBitmap(*source, ReductionMode::OptimizedWindows, DitherMode::NearestColor, 8));
    }
}

void BM_ZentrapLzwOnly(benchmark::State& state)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    Bitmap reduced = QuantizeBitmap(*source, ReductionMode::OptimizedWindows, DitherMode::NearestColor, 8);
    GifImage gif;
    gif.Assign(reduced);
    for (auto _ : state) {
        VectorSink sink;
        sink.bytes.reserve(1 << 20);
        gif.SaveToStream(sink);
        benchmark::DoNotOptimize(sink.bytes.data());
    }
}

int writeToVector(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// giflib's encoder over 8-bit indices with a 256-entry map.
size_t giflibWrite(const uint8_t* indices, int width, int height, const GifColorType* colors)
{
    std::vector<uint8_t> out;
    out.reserve(1 << 20);
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToVector, &error);
    if (gif == nullptr) {
        throw std::runtime_error("EGifOpen failed");
    }
    ColorMapObject* map = GifMakeMapObject(256, colors);
    EGifPutScreenDesc(gif, width, height, 8, 0, nullptr);
    EGifPutImageDesc(gif, 0, 0, width, height, false, map);
    for (int y = 0; y < height; ++y) {
        EGifPutLine(gif, const_cast<GifPixelType*>(indices + static_cast<size_t>(y) * width), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out.size();
}

void BM_GiflibPrequantisedIndices(benchmark::State& state)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    Bitmap reduced = QuantizeBitmap(*source, ReductionMode::OptimizedWindows, DitherMode::NearestColor, 8);
    std::vector<uint8_t> indices;
    for (int y = 0; y < reduced.height(); ++y) {
        indices.insert(indices.end(), reduced.row(y), reduced.row(y) + reduced.width());
    }
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& q = reduced.colorTable()[static_cast<size_t>(i)];
        colors[i] = {q.red, q.green, q.blue};
    }
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = giflibWrite(indices.data(), reduced.width(), reduced.height(), colors);
    }
    labelPicture(state, bytes);
}

#ifdef ZENTRAP_HAVE_IMAGEQUANT
// libimagequant (its default speed, 256 colours) and giflib, from the same 24-bit pixels.
void imageQuantGif(benchmark::State& state, float dithering)
{
    const Bitmap* source = picture(state);
    if (source == nullptr) {
        return;
    }
    int width = source->width();
    int height = source->height();
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = source->row(y);
            uint8_t* out = rgba.data() + static_cast<size_t>(y) * width * 4;
            for (int x = 0; x < width; ++x, in += 3, out += 4) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
                out[3] = 255;
            }
        }
        liq_attr* attr = liq_attr_create();
        liq_image* image = liq_image_create_rgba(attr, rgba.data(), width, height, 0);
        liq_result* result = nullptr;
        if (liq_image_quantize(image, attr, &result) != LIQ_OK) {
            state.SkipWithError("liq_image_quantize failed");
            break;
        }
        liq_set_dithering_level(result, dithering);
        std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
        liq_write_remapped_image(result, image, indices.data(), indices.size());
        const liq_palette* palette = liq_get_palette(result);
        GifColorType colors[256] = {};
        for (unsigned i = 0; i < palette->count; ++i) {
            colors[i] = {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
        }
        bytes = giflibWrite(indices.data(), width, height, colors);
        liq_result_destroy(result);
        liq_image_destroy(image);
        liq_attr_destroy(attr);
    }
    labelPicture(state, bytes);
}

void BM_ImageQuantGiflibNoDither(benchmark::State& state)
{
    imageQuantGif(state, 0.0F);
}
void BM_ImageQuantGiflibDithered(benchmark::State& state)
{
    imageQuantGif(state, 1.0F);
}
BENCHMARK(BM_ImageQuantGiflibNoDither)->DenseRange(0, 2)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageQuantGiflibDithered)->DenseRange(0, 2)->Iterations(2)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_ZentrapGifDefault)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZentrapGifFloydSteinberg)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZentrapOptimizedPalette)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZentrapQuantize)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZentrapLzwOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GiflibPrequantisedIndices)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
