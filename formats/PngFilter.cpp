#include "formats/PngFilter.h"

#include <algorithm>
#include <cstring>

namespace {

// Rows are filtered and counted in blocks that stay in the first-level cache: each block's filters
// are computed, then counted, in loops the compiler can vectorise.
constexpr size_t kBlock = 512;

// The loops below gain about half their time from 32-byte vectors where the processor has them.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZENTRAP_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ZENTRAP_VECTOR_CLONES
#endif

// Windows ending at k in [from, to): the byte at k equals each of the four bytes before it. from >= 4.
ZENTRAP_VECTOR_CLONES size_t countWindows(const uint8_t* __restrict f, size_t from, size_t to)
{
    // A block holds at most kBlock windows, so a 16-bit sum keeps the vector lanes narrow.
    size_t total = 0;
    while (from < to) {
        const size_t end = std::min(to, from + kBlock);
        uint16_t n = 0;
        for (size_t k = from; k < end; ++k) {
            const uint8_t v = f[k];
            n = static_cast<uint16_t>(n + ((v == f[k - 1]) & (v == f[k - 2]) & (v == f[k - 3]) & (v == f[k - 4])));
        }
        total += n;
        from = end;
    }
    return total;
}

// Sub, Average and Paeth for positions [from, to), from >= bpp (the left neighbours exist).
ZENTRAP_VECTOR_CLONES void computeFilters(const uint8_t* __restrict row, const uint8_t* __restrict above, size_t bpp,
                                          size_t from, size_t to, uint8_t* __restrict sub, uint8_t* __restrict average,
                                          uint8_t* __restrict paeth)
{
    // 16-bit arithmetic is wide enough for every intermediate and keeps the vector lanes narrow.
    for (size_t i = from; i < to; ++i) {
        const int16_t x = row[i];
        const int16_t a = row[i - bpp];
        const int16_t b = above[i];
        const int16_t c = above[i - bpp];
        sub[i] = static_cast<uint8_t>(x - a);
        average[i] = static_cast<uint8_t>(x - ((a + b) >> 1));
        // The Paeth predictor written without branches: p - a = b - c, p - b = a - c.
        const auto pa = static_cast<int16_t>(b > c ? b - c : c - b);
        const auto pb = static_cast<int16_t>(a > c ? a - c : c - a);
        const auto sum = static_cast<int16_t>(a + b - 2 * c);
        const auto pc = static_cast<int16_t>(sum > 0 ? sum : -sum);
        const int16_t predictor = ((pa <= pb) & (pa <= pc)) ? a : (pb <= pc ? b : c);
        paeth[i] = static_cast<uint8_t>(x - predictor);
    }
}

} // namespace

size_t countFiveEqualRuns(std::span<const uint8_t> bytes)
{
    return bytes.size() > 4 ? countWindows(bytes.data(), 4, bytes.size()) : 0;
}

PngRowFilter::PngRowFilter(size_t rowBytes, int bytesPerPixel, PngFilterSet filters)
    : rowBytes_(rowBytes), bytesPerPixel_(static_cast<size_t>(bytesPerPixel)), filters_(filters), previous_(rowBytes, 0)
{
    for (size_t t = 0; t < lines_.size(); ++t) {
        lines_[t].assign(rowBytes + 1, 0);
        lines_[t][0] = static_cast<uint8_t>(t);
    }
}

std::span<const uint8_t> PngRowFilter::filterRow(const uint8_t* row)
{
    const size_t n = rowBytes_;
    const size_t bpp = std::min(bytesPerPixel_, n);
    const uint8_t* above = previous_.data();
    uint8_t* none = lines_[0].data() + 1;
    uint8_t* sub = lines_[1].data() + 1;
    uint8_t* up = lines_[2].data() + 1;
    uint8_t* average = lines_[3].data() + 1;
    uint8_t* paeth = lines_[4].data() + 1;

    std::memcpy(none, row, n);
    // Bytes left of the row start count as 0.
    for (size_t i = 0; i < bpp; ++i) {
        sub[i] = row[i];
        average[i] = static_cast<uint8_t>(row[i] - (above[i] >> 1));
        paeth[i] = static_cast<uint8_t>(row[i] - above[i]);
    }
    const bool useUp = filters_.contains(PngFilterType::Up);
    std::array<size_t, 5> counts{};
    for (size_t from = 0; from < n; from += kBlock) {
        const size_t to = std::min(n, from + kBlock);
        computeFilters(row, above, bpp, std::max(from, bpp), to, sub, average, paeth);
        if (useUp) {
            for (size_t i = from; i < to; ++i) {
                up[i] = static_cast<uint8_t>(row[i] - above[i]);
            }
        }
        const size_t countFrom = std::max<size_t>(from, 4);
        if (countFrom < to) {
            for (size_t t = 0; t < lines_.size(); ++t) {
                if (filters_.contains(static_cast<PngFilterType>(t))) {
                    counts[t] += countWindows(lines_[t].data() + 1, countFrom, to);
                }
            }
        }
    }

    // The highest count wins, an equal count keeps the earlier filter, all zero means None.
    size_t bestCount = 0;
    size_t best = 0;
    for (size_t t = 0; t < lines_.size(); ++t) {
        if (filters_.contains(static_cast<PngFilterType>(t)) && counts[t] > bestCount) {
            bestCount = counts[t];
            best = t;
        }
    }
    lastType_ = static_cast<PngFilterType>(best);
    std::memcpy(previous_.data(), row, n);
    return {lines_[best].data(), n + 1};
}
