#include "editor/Rotation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZENTRAP_ROTATION_X86 1
#endif

namespace {

constexpr size_t kBytesPerPixel = 3;
// Tiles of 32 × 32 pixels keep both the rows read and the rows written in the first-level cache.
constexpr int kTile = 32;

class RowProgress {
public:
    RowProgress(const StatusProgress& progress, int sourceHeight)
        : progress_(progress), step_(static_cast<long double>(progress.panelWidth) / sourceHeight)
    {
    }
    // Runs before source row y; only every second row moves the bar.
    void beforeRow(int y) const
    {
        if ((y & 1) != 0 && progress_.show) {
            progress_(0, static_cast<int>(std::trunc(y * step_)));
        }
    }
    void beforeRows(int first, int end) const
    {
        for (int y = first; y < end; ++y) {
            beforeRow(y);
        }
    }

private:
    const StatusProgress& progress_;
    long double step_;
};

void copyPixel(uint8_t* to, const uint8_t* from)
{
    std::memcpy(to, from, kBytesPerPixel);
}

// Where a quarter turn puts source pixels: row y goes to destination column Hs − 1 − y (clockwise)
// or y, and column x to destination row x (clockwise) or Ws − 1 − x.
struct QuarterTurn {
    const Bitmap& source;
    Bitmap& destination;
    bool clockwise;

    int destinationRow(int x) const { return clockwise ? x : source.width() - 1 - x; }
    int destinationColumn(int y) const { return clockwise ? source.height() - 1 - y : y; }
};

void turnPixelsPlainly(const QuarterTurn& turn, int x0, int x1, int y0, int y1)
{
    for (int y = y0; y < y1; ++y) {
        const uint8_t* in = turn.source.row(y);
        size_t column = static_cast<size_t>(turn.destinationColumn(y)) * kBytesPerPixel;
        for (int x = x0; x < x1; ++x) {
            copyPixel(turn.destination.row(turn.destinationRow(x)) + column,
                      in + static_cast<size_t>(x) * kBytesPerPixel);
        }
    }
}

#ifdef ZENTRAP_ROTATION_X86

bool ssse3Available()
{
    static const bool available = __builtin_cpu_supports("ssse3");
    return available;
}

// Blocks of 4 × 4 pixels: each source row's four pixels are widened to 32 bits, the block is
// transposed as 32-bit values, and each column is narrowed back to 12 bytes in destination order.
// The 16-byte loads read 4 bytes past the block, so the caller keeps x + 6 <= Ws.
__attribute__((target("ssse3"))) void turnBlocks(const QuarterTurn& turn, int x0, int x1, int y0, int y1)
{
    const __m128i widen = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    // Clockwise, the block's last source row comes first in the destination row.
    const __m128i narrow = turn.clockwise ? _mm_setr_epi8(12, 13, 14, 8, 9, 10, 4, 5, 6, 0, 1, 2, -1, -1, -1, -1)
                                          : _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    for (int y = y0; y < y1; y += 4) {
        int firstColumn = std::min(turn.destinationColumn(y), turn.destinationColumn(y + 3));
        size_t columnOffset = static_cast<size_t>(firstColumn) * kBytesPerPixel;
        for (int x = x0; x < x1; x += 4) {
            __m128i r[4];
            for (int k = 0; k < 4; ++k) {
                const uint8_t* p = turn.source.row(y + k) + static_cast<size_t>(x) * kBytesPerPixel;
                r[k] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), widen);
            }
            __m128i t0 = _mm_unpacklo_epi32(r[0], r[1]);
            __m128i t1 = _mm_unpacklo_epi32(r[2], r[3]);
            __m128i t2 = _mm_unpackhi_epi32(r[0], r[1]);
            __m128i t3 = _mm_unpackhi_epi32(r[2], r[3]);
            __m128i columns[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1), _mm_unpacklo_epi64(t2, t3),
                                  _mm_unpackhi_epi64(t2, t3)};
            for (int i = 0; i < 4; ++i) {
                __m128i bytes = _mm_shuffle_epi8(columns[i], narrow);
                uint8_t* out = turn.destination.row(turn.destinationRow(x + i)) + columnOffset;
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out), bytes);
                auto last = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 8)));
                std::memcpy(out + 8, &last, 4);
            }
        }
    }
}

#endif

// Tile by tile so that neither side walks the whole image per row; inside a tile, whole 4 × 4
// blocks go through the vector path and the rest pixel by pixel.
void rotateQuarter(const QuarterTurn& turn, const RowProgress& rows)
{
    int ws = turn.source.width();
    int hs = turn.source.height();
    for (int y0 = 0; y0 < hs; y0 += kTile) {
        int y1 = std::min(hs, y0 + kTile);
        rows.beforeRows(y0, y1);
        for (int x0 = 0; x0 < ws; x0 += kTile) {
            int x1 = std::min(ws, x0 + kTile);
            int blockRowsEnd = y0;
            int blockColumnsEnd = x0;
#ifdef ZENTRAP_ROTATION_X86
            if (ssse3Available()) {
                blockRowsEnd = y0 + (y1 - y0) / 4 * 4;
                blockColumnsEnd = x0 + std::max(0, std::min(x1, ws - 2) - x0) / 4 * 4;
                if (blockColumnsEnd > x0) {
                    turnBlocks(turn, x0, blockColumnsEnd, y0, blockRowsEnd);
                }
            }
#endif
            turnPixelsPlainly(turn, blockColumnsEnd, x1, y0, blockRowsEnd);
            turnPixelsPlainly(turn, x0, x1, blockRowsEnd, y1);
        }
    }
}

// Source pixel x goes to Ws − 1 − x of the destination row.
void reversePixels(const uint8_t* in, uint8_t* out, int width, int first, int end)
{
    for (int x = first; x < end; ++x) {
        copyPixel(out + static_cast<size_t>(width - 1 - x) * kBytesPerPixel,
                  in + static_cast<size_t>(x) * kBytesPerPixel);
    }
}

#ifdef ZENTRAP_ROTATION_X86

// Byte shuffles that reverse sixteen pixels (48 bytes, three vectors): output vector o takes from input
// vector i the bytes that masks[o][i] selects. Output byte k is byte k % 3 of pixel 15 − k / 3.
struct ReverseMasks {
    alignas(16) uint8_t bytes[3][3][16];
};

constexpr ReverseMasks makeReverseMasks()
{
    ReverseMasks m{};
    for (int out = 0; out < 3; ++out) {
        for (int in = 0; in < 3; ++in) {
            for (int k = 0; k < 16; ++k) {
                int o = out * 16 + k;
                int from = 3 * (15 - o / 3) + o % 3;
                m.bytes[out][in][k] = from / 16 == in ? static_cast<uint8_t>(from % 16) : uint8_t{0x80};
            }
        }
    }
    return m;
}

constexpr ReverseMasks kReverseMasks = makeReverseMasks();

constexpr bool selectsNothing(const uint8_t (&mask)[16])
{
    for (uint8_t b : mask) {
        if (b != 0x80) {
            return false;
        }
    }
    return true;
}
static_assert(selectsNothing(kReverseMasks.bytes[0][0]) && selectsNothing(kReverseMasks.bytes[2][2]));

__attribute__((target("ssse3"))) __m128i reverseMask(int out, int in)
{
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kReverseMasks.bytes[out][in]));
}

// Sixteen pixels per step with three loads and three stores; the first output vector draws on the
// last two input vectors only, the last one on the first two.
__attribute__((target("ssse3"))) void reverseRowByShuffles(const uint8_t* in, uint8_t* out, int width)
{
    const __m128i m01 = reverseMask(0, 1), m02 = reverseMask(0, 2);
    const __m128i m10 = reverseMask(1, 0), m11 = reverseMask(1, 1), m12 = reverseMask(1, 2);
    const __m128i m20 = reverseMask(2, 0), m21 = reverseMask(2, 1);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const auto* from = reinterpret_cast<const __m128i*>(in + static_cast<size_t>(x) * kBytesPerPixel);
        auto* to = reinterpret_cast<__m128i*>(out + static_cast<size_t>(width - 16 - x) * kBytesPerPixel);
        __m128i i0 = _mm_loadu_si128(from);
        __m128i i1 = _mm_loadu_si128(from + 1);
        __m128i i2 = _mm_loadu_si128(from + 2);
        _mm_storeu_si128(to, _mm_or_si128(_mm_shuffle_epi8(i1, m01), _mm_shuffle_epi8(i2, m02)));
        _mm_storeu_si128(to + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(i0, m10), _mm_shuffle_epi8(i1, m11)),
                                              _mm_shuffle_epi8(i2, m12)));
        _mm_storeu_si128(to + 2, _mm_or_si128(_mm_shuffle_epi8(i0, m20), _mm_shuffle_epi8(i1, m21)));
    }
    reversePixels(in, out, width, x, width);
}

#endif

void reverseRow(const uint8_t* in, uint8_t* out, int width)
{
#ifdef ZENTRAP_ROTATION_X86
    if (ssse3Available()) {
        reverseRowByShuffles(in, out, width);
        return;
    }
#endif
    reversePixels(in, out, width, 0, width);
}

void rotateHalf(const Bitmap& source, Bitmap& destination, const RowProgress& rows)
{
    int hs = source.height();
    for (int y = 0; y < hs; ++y) {
        rows.beforeRow(y);
        reverseRow(source.row(y), destination.row(hs - 1 - y), source.width());
    }
}

// One byte per pixel, tile by tile as above.
void turnBytes(const Bitmap& source, Bitmap& destination, RotationAngle angle)
{
    const int ws = source.width();
    const int hs = source.height();
    for (int y0 = 0; y0 < hs; y0 += kTile) {
        const int y1 = std::min(hs, y0 + kTile);
        for (int x0 = 0; x0 < ws; x0 += kTile) {
            const int x1 = std::min(ws, x0 + kTile);
            for (int y = y0; y < y1; ++y) {
                const uint8_t* in = source.row(y);
                for (int x = x0; x < x1; ++x) {
                    if (angle == RotationAngle::Rotate180) {
                        destination.row(hs - 1 - y)[ws - 1 - x] = in[x];
                    } else if (angle == RotationAngle::Rotate90) {
                        destination.row(x)[hs - 1 - y] = in[x];
                    } else {
                        destination.row(ws - 1 - x)[y] = in[x];
                    }
                }
            }
        }
    }
}

} // namespace

void RotatePicture(const Bitmap& source, Bitmap& destination, RotationAngle angle)
{
    if (source.pixelFormat() != PixelFormat::Bpp8 || &source == &destination) {
        RotateBitmap(source, destination, angle);
        return;
    }
    const bool half = angle == RotationAngle::Rotate180;
    destination =
        Bitmap(half ? source.width() : source.height(), half ? source.height() : source.width(), PixelFormat::Bpp8);
    destination.setColorTable(source.colorTable().empty() ? greyRamp(256) : source.colorTable());
    turnBytes(source, destination, angle);
}

void RotateBitmap(const Bitmap& source, Bitmap& destination, RotationAngle angle, const StatusProgress& progress)
{
    Bitmap copy;
    const Bitmap* input = &source;
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        copy = source.converted(PixelFormat::Bpp24);
        input = &copy;
    } else if (&source == &destination) {
        copy = source;
        input = &copy;
    }
    destination.setPixelFormat(PixelFormat::Bpp24);
    int ws = input->width();
    int hs = input->height();
    if (angle == RotationAngle::Rotate180) {
        destination.setSize(ws, hs);
    } else {
        destination.setSize(hs, ws);
    }
    if (input->isEmpty()) {
        return;
    }
    RowProgress rows(progress, hs);
    if (angle == RotationAngle::Rotate180) {
        rotateHalf(*input, destination, rows);
    } else {
        rotateQuarter({*input, destination, angle == RotationAngle::Rotate90}, rows);
    }
}
