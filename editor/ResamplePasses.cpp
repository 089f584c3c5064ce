#include "editor/ResamplePasses.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZENTRAP_RESAMPLE_X86 1
#endif

namespace {

constexpr int kBytesPerPixel = 3;

void announce(const std::function<void(int)>& before, int item)
{
    if (before) {
        before(item);
    }
}

// Above 255 is white, below 0 black, between them the nearest byte with halves to even.
uint8_t sumToByte(float sum)
{
    if (sum > 255.0F) {
        return 255;
    }
    if (sum < 0.0F) {
        return 0;
    }
    return static_cast<uint8_t>(roundHalfEven(sum));
}

float weightedSum(std::span<const SampleWeight> weights, const uint8_t* samples, size_t pixelStep)
{
    float sum = 0.0F;
    for (const SampleWeight& w : weights) {
        sum = std::fmaf(w.weight, static_cast<float>(samples[static_cast<size_t>(w.pixel) * pixelStep]), sum);
    }
    return sum;
}

void resampleRowsScalar(const Bitmap& source, Bitmap& intermediate, const SampleWeightTable& columns,
                        const std::function<void(int)>& beforeRow)
{
    for (int k = 0; k < source.height(); ++k) {
        announce(beforeRow, k);
        const uint8_t* in = source.row(k);
        uint8_t* out = intermediate.row(k);
        for (int i = 0; i < intermediate.width(); ++i) {
            for (int c = 0; c < kBytesPerPixel; ++c) {
                out[i * kBytesPerPixel + c] = sumToByte(weightedSum(columns.list(i), in + c, kBytesPerPixel));
            }
        }
    }
}

void resampleColumnsScalar(const Bitmap& intermediate, Bitmap& destination, const SampleWeightTable& rows,
                           const std::function<void(int)>& beforeColumn)
{
    for (int k = 0; k < destination.width(); ++k) {
        announce(beforeColumn, k);
        for (int i = 0; i < destination.height(); ++i) {
            for (int c = 0; c < kBytesPerPixel; ++c) {
                const uint8_t* column = intermediate.bits() + static_cast<size_t>(k) * kBytesPerPixel + c;
                destination.row(i)[k * kBytesPerPixel + c] =
                    sumToByte(weightedSum(rows.list(i), column, intermediate.stride()));
            }
        }
    }
}

#ifdef ZENTRAP_RESAMPLE_X86

constexpr int kRowBlock = 8;
constexpr int kColumnBand = 128;

// Transposes an 8 × 8 block of bytes: row r of the input becomes byte r of every output row.
// Output row 2j is the low half of out[j], row 2j + 1 its high half.
__attribute__((target("avx2,fma"))) void transpose8x8(const __m128i in[8], __m128i out[4])
{
    __m128i t0 = _mm_unpacklo_epi8(in[0], in[1]);
    __m128i t1 = _mm_unpacklo_epi8(in[2], in[3]);
    __m128i t2 = _mm_unpacklo_epi8(in[4], in[5]);
    __m128i t3 = _mm_unpacklo_epi8(in[6], in[7]);
    __m128i u0 = _mm_unpacklo_epi16(t0, t1);
    __m128i u1 = _mm_unpackhi_epi16(t0, t1);
    __m128i u2 = _mm_unpacklo_epi16(t2, t3);
    __m128i u3 = _mm_unpackhi_epi16(t2, t3);
    out[0] = _mm_unpacklo_epi32(u0, u2);
    out[1] = _mm_unpackhi_epi32(u0, u2);
    out[2] = _mm_unpacklo_epi32(u1, u3);
    out[3] = _mm_unpackhi_epi32(u1, u3);
}

__attribute__((target("avx2,fma"))) __m256 bytesToFloats(__m128i eightBytes)
{
    return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(eightBytes));
}

__attribute__((target("avx2,fma"))) __m256i sumsToInts(__m256 sums)
{
    __m256 clamped = _mm256_min_ps(_mm256_max_ps(sums, _mm256_setzero_ps()), _mm256_set1_ps(255.0F));
    return _mm256_cvttps_epi32(_mm256_round_ps(clamped, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
}

// Four vectors of eight sums as 32 bytes: a's eight bytes first, then b's, c's and d's.
__attribute__((target("avx2,fma"))) __m256i sumsToBytes(__m256 a, __m256 b, __m256 c, __m256 d)
{
    __m256i ab = _mm256_packus_epi32(sumsToInts(a), sumsToInts(b));
    __m256i cd = _mm256_packus_epi32(sumsToInts(c), sumsToInts(d));
    __m256i bytes = _mm256_packus_epi16(ab, cd);
    return _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

// Spreads eight rows of `length` bytes into floats: planes[q × 8 + r] = rows[r][q].
__attribute__((target("avx2,fma"))) void spreadRows(const uint8_t* const rows[kRowBlock], size_t length, float* planes)
{
    size_t q = 0;
    for (; q + 8 <= length; q += 8) {
        __m128i in[8];
        for (int r = 0; r < kRowBlock; ++r) {
            in[r] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[r] + q));
        }
        __m128i out[4];
        transpose8x8(in, out);
        for (int j = 0; j < 4; ++j) {
            _mm256_storeu_ps(planes + (q + 2 * j) * 8, bytesToFloats(out[j]));
            _mm256_storeu_ps(planes + (q + 2 * j + 1) * 8, bytesToFloats(_mm_srli_si128(out[j], 8)));
        }
    }
    for (; q < length; ++q) {
        for (int r = 0; r < kRowBlock; ++r) {
            planes[q * 8 + static_cast<size_t>(r)] = static_cast<float>(rows[r][q]);
        }
    }
}

// The inverse of spreadRows for bytes: rows[r][q] = staged[q × 8 + r] for the first `rowCount` rows.
__attribute__((target("avx2,fma"))) void gatherRows(const uint8_t* staged, size_t length,
                                                    uint8_t* const rows[kRowBlock], int rowCount)
{
    size_t q = 0;
    for (; q + 8 <= length; q += 8) {
        __m128i in[8];
        for (int p = 0; p < 8; ++p) {
            in[p] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(staged + (q + static_cast<size_t>(p)) * 8));
        }
        __m128i out[4];
        transpose8x8(in, out);
        for (int r = 0; r < rowCount; ++r) {
            __m128i pair = out[r / 2];
            _mm_storel_epi64(reinterpret_cast<__m128i*>(rows[r] + q), (r & 1) ? _mm_srli_si128(pair, 8) : pair);
        }
    }
    for (; q < length; ++q) {
        for (int r = 0; r < rowCount; ++r) {
            rows[r][q] = staged[q * 8 + static_cast<size_t>(r)];
        }
    }
}

// Eight source rows at once: the lanes of a vector are rows, so every lane runs the same weight list
// in the same order, exactly as one pixel's sum does.
__attribute__((target("avx2,fma"))) void resampleRowsVectorised(const Bitmap& source, Bitmap& intermediate,
                                                                const SampleWeightTable& columns,
                                                                const std::function<void(int)>& beforeRow)
{
    size_t sourceBytes = static_cast<size_t>(source.width()) * kBytesPerPixel;
    size_t targetBytes = static_cast<size_t>(intermediate.width()) * kBytesPerPixel;
    std::vector<float> planes(sourceBytes * kRowBlock);
    // Each column writes 32 bytes of which 24 count; the last one needs room past the end.
    std::vector<uint8_t> staged(targetBytes * kRowBlock + 8);
    for (int k0 = 0; k0 < source.height(); k0 += kRowBlock) {
        int rowCount = std::min(kRowBlock, source.height() - k0);
        const uint8_t* in[kRowBlock];
        uint8_t* out[kRowBlock];
        for (int r = 0; r < kRowBlock; ++r) {
            if (r < rowCount) {
                announce(beforeRow, k0 + r);
            }
            int k = k0 + std::min(r, rowCount - 1);
            in[r] = source.row(k);
            out[r] = intermediate.row(k);
        }
        spreadRows(in, sourceBytes, planes.data());
        for (int i = 0; i < intermediate.width(); ++i) {
            __m256 blue = _mm256_setzero_ps();
            __m256 green = _mm256_setzero_ps();
            __m256 red = _mm256_setzero_ps();
            for (const SampleWeight& w : columns.list(i)) {
                __m256 weight = _mm256_set1_ps(w.weight);
                const float* p = planes.data() + static_cast<size_t>(w.pixel) * kBytesPerPixel * kRowBlock;
                blue = _mm256_fmadd_ps(weight, _mm256_loadu_ps(p), blue);
                green = _mm256_fmadd_ps(weight, _mm256_loadu_ps(p + 8), green);
                red = _mm256_fmadd_ps(weight, _mm256_loadu_ps(p + 16), red);
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(staged.data() + static_cast<size_t>(i) * 24),
                                sumsToBytes(blue, green, red, red));
        }
        gatherRows(staged.data(), targetBytes, out, rowCount);
    }
}

// Thirty-two bytes of one destination row at once: the lanes are neighbouring bytes of the row,
// all summed over the same rows of the intermediate in the list's order.
__attribute__((target("avx2,fma"))) void resampleColumnsVectorised(const Bitmap& intermediate, Bitmap& destination,
                                                                   const SampleWeightTable& rows,
                                                                   const std::function<void(int)>& beforeColumn)
{
    const uint8_t* base = intermediate.bits();
    size_t stride = intermediate.stride();
    for (int x0 = 0; x0 < destination.width(); x0 += kColumnBand) {
        int x1 = std::min(destination.width(), x0 + kColumnBand);
        for (int m = x0; m < x1; ++m) {
            announce(beforeColumn, m);
        }
        size_t end = static_cast<size_t>(x1) * kBytesPerPixel;
        for (int i = 0; i < destination.height(); ++i) {
            std::span<const SampleWeight> list = rows.list(i);
            uint8_t* out = destination.row(i);
            size_t q = static_cast<size_t>(x0) * kBytesPerPixel;
            for (; q + 32 <= end; q += 32) {
                __m256 s0 = _mm256_setzero_ps();
                __m256 s1 = _mm256_setzero_ps();
                __m256 s2 = _mm256_setzero_ps();
                __m256 s3 = _mm256_setzero_ps();
                for (const SampleWeight& w : list) {
                    const uint8_t* p = base + static_cast<size_t>(w.pixel) * stride + q;
                    __m256 weight = _mm256_set1_ps(w.weight);
                    s0 = _mm256_fmadd_ps(weight, bytesToFloats(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))),
                                         s0);
                    s1 = _mm256_fmadd_ps(weight,
                                         bytesToFloats(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 8))), s1);
                    s2 = _mm256_fmadd_ps(weight,
                                         bytesToFloats(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16))), s2);
                    s3 = _mm256_fmadd_ps(weight,
                                         bytesToFloats(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 24))), s3);
                }
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + q), sumsToBytes(s0, s1, s2, s3));
            }
            for (; q + 8 <= end; q += 8) {
                __m256 s = _mm256_setzero_ps();
                for (const SampleWeight& w : list) {
                    const uint8_t* p = base + static_cast<size_t>(w.pixel) * stride + q;
                    s = _mm256_fmadd_ps(_mm256_set1_ps(w.weight),
                                        bytesToFloats(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))), s);
                }
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + q), _mm256_castsi256_si128(sumsToBytes(s, s, s, s)));
            }
            for (; q < end; ++q) {
                out[q] = sumToByte(weightedSum(list, base + q, stride));
            }
        }
    }
}

#endif

} // namespace

bool vectorisedResampleAvailable()
{
#ifdef ZENTRAP_RESAMPLE_X86
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
    return false;
#endif
}

void resampleRows(const Bitmap& source, Bitmap& intermediate, const SampleWeightTable& columns, ResampleKernel kernel,
                  const std::function<void(int)>& beforeRow)
{
#ifdef ZENTRAP_RESAMPLE_X86
    if (kernel == ResampleKernel::Vectorised && vectorisedResampleAvailable()) {
        resampleRowsVectorised(source, intermediate, columns, beforeRow);
        return;
    }
#endif
    (void)kernel;
    resampleRowsScalar(source, intermediate, columns, beforeRow);
}

void resampleColumns(const Bitmap& intermediate, Bitmap& destination, const SampleWeightTable& rows,
                     ResampleKernel kernel, const std::function<void(int)>& beforeColumn)
{
#ifdef ZENTRAP_RESAMPLE_X86
    if (kernel == ResampleKernel::Vectorised && vectorisedResampleAvailable()) {
        resampleColumnsVectorised(intermediate, destination, rows, beforeColumn);
        return;
    }
#endif
    (void)kernel;
    resampleColumnsScalar(intermediate, destination, rows, beforeColumn);
}
