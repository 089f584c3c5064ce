#include "formats/PngFilter.h"

#include <algorithm>
#include <cstring>

namespace {

// Counts five-equal-byte windows on the fly: `run` is how many bytes before the current one are equal to it.
struct RunCounter {
    uint8_t last = 0;
    uint32_t run = 0;
    size_t count = 0;
    void add(uint8_t b)
    {
        run = (b == last) ? run + 1 : 0;
        last = b;
        count += run >= 4 ? 1 : 0;
    }
};

} // namespace

size_t countFiveEqualRuns(std::span<const uint8_t> bytes)
{
    RunCounter counter;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 0) {
            counter.last = bytes[0];
            continue;
        }
        counter.add(bytes[i]);
    }
    return counter.count;
}

PngRowFilter::PngRowFilter(size_t rowBytes, int bytesPerPixel, PngFilterSet filters)
    : rowBytes_(rowBytes), bytesPerPixel_(static_cast<size_t>(bytesPerPixel)), filters_(filters), previous_(rowBytes, 0)
{
    for (size_t t = 0; t < lines_.size(); ++t) {
        if (filters_.contains(static_cast<PngFilterType>(t))) {
            lines_[t].assign(rowBytes + 1, 0);
            lines_[t][0] = static_cast<uint8_t>(t);
        }
    }
}

std::span<const uint8_t> PngRowFilter::filterRow(const uint8_t* row)
{
    const bool useSub = filters_.contains(PngFilterType::Sub);
    const bool useUp = filters_.contains(PngFilterType::Up);
    const bool useAverage = filters_.contains(PngFilterType::Average);
    const bool usePaeth = filters_.contains(PngFilterType::Paeth);
    const uint8_t* above = previous_.data();
    uint8_t* none = lines_[0].data() + 1;
    uint8_t* sub = useSub ? lines_[1].data() + 1 : nullptr;
    uint8_t* up = useUp ? lines_[2].data() + 1 : nullptr;
    uint8_t* average = useAverage ? lines_[3].data() + 1 : nullptr;
    uint8_t* paeth = usePaeth ? lines_[4].data() + 1 : nullptr;

    const size_t n = rowBytes_;
    const size_t bpp = std::min(bytesPerPixel_, n);
    // Bytes left of the row start count as 0.
    for (size_t i = 0; i < bpp; ++i) {
        const uint8_t x = row[i];
        const uint8_t b = above[i];
        none[i] = x;
        if (sub) {
            sub[i] = x;
        }
        if (up) {
            up[i] = static_cast<uint8_t>(x - b);
        }
        if (average) {
            average[i] = static_cast<uint8_t>(x - (b >> 1));
        }
        if (paeth) {
            paeth[i] = static_cast<uint8_t>(x - b);
        }
    }
    std::array<size_t, 5> counts{};
    if (sub && average && paeth && !up) {
        // The usual case, the default set: one pass computes the filters and their counts.
        std::array<RunCounter, 4> runs{};
        const uint8_t* lines[4] = {none, sub, average, paeth};
        for (size_t f = 0; f < runs.size() && bpp > 0; ++f) {
            runs[f].last = lines[f][0];
            for (size_t i = 1; i < bpp; ++i) {
                runs[f].add(lines[f][i]);
            }
        }
        for (size_t i = bpp; i < n; ++i) {
            const uint8_t x = row[i];
            const int a = row[i - bpp];
            const int b = above[i];
            const int c = above[i - bpp];
            const auto s = static_cast<uint8_t>(x - a);
            const auto v = static_cast<uint8_t>(x - ((a + b) >> 1));
            const auto p = static_cast<uint8_t>(x - paethPredictor(a, b, c));
            none[i] = x;
            sub[i] = s;
            average[i] = v;
            paeth[i] = p;
            runs[0].add(x);
            runs[1].add(s);
            runs[2].add(v);
            runs[3].add(p);
        }
        counts[0] = runs[0].count;
        counts[1] = runs[1].count;
        counts[3] = runs[2].count;
        counts[4] = runs[3].count;
    } else {
        for (size_t i = bpp; i < n; ++i) {
            const uint8_t x = row[i];
            const int a = row[i - bpp];
            const int b = above[i];
            const int c = above[i - bpp];
            none[i] = x;
            if (sub) {
                sub[i] = static_cast<uint8_t>(x - a);
            }
            if (up) {
                up[i] = static_cast<uint8_t>(x - b);
            }
            if (average) {
                average[i] = static_cast<uint8_t>(x - ((a + b) >> 1));
            }
            if (paeth) {
                paeth[i] = static_cast<uint8_t>(x - paethPredictor(a, b, c));
            }
        }
        for (size_t t = 0; t < lines_.size(); ++t) {
            if (filters_.contains(static_cast<PngFilterType>(t))) {
                counts[t] = countFiveEqualRuns({lines_[t].data() + 1, n});
            }
        }
    }

    // Choose: the highest count wins, an equal count keeps the earlier filter, all zero means None.
    size_t bestCount = 0;
    size_t best = 0;
    for (size_t t = 0; t < lines_.size(); ++t) {
        if (!filters_.contains(static_cast<PngFilterType>(t))) {
            continue;
        }
        if (counts[t] > bestCount) {
            bestCount = counts[t];
            best = t;
        }
    }
    lastType_ = static_cast<PngFilterType>(best);
    std::memcpy(previous_.data(), row, n);
    return {lines_[best].data(), n + 1};
}
