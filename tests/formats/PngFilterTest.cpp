#include "formats/PngFilter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The rule written out plainly, to check the fast filter against.
struct Reference {
    std::vector<uint8_t> previous;
    size_t bpp;

    std::vector<uint8_t> filter(const std::vector<uint8_t>& row, PngFilterType type) const
    {
        std::vector<uint8_t> out(row.size());
        for (size_t i = 0; i < row.size(); ++i) {
            int a = i >= bpp ? row[i - bpp] : 0;
            int b = previous[i];
            int c = i >= bpp ? previous[i - bpp] : 0;
            int predictor = 0;
            switch (type) {
            case PngFilterType::None:
                predictor = 0;
                break;
            case PngFilterType::Sub:
                predictor = a;
                break;
            case PngFilterType::Up:
                predictor = b;
                break;
            case PngFilterType::Average:
                predictor = (a + b) / 2;
                break;
            case PngFilterType::Paeth:
                predictor = paethPredictor(a, b, c);
                break;
            }
            out[i] = static_cast<uint8_t>(row[i] - predictor);
        }
        return out;
    }

    static size_t count(const std::vector<uint8_t>& f)
    {
        size_t n = 0;
        for (size_t k = 4; k < f.size(); ++k) {
            if (f[k] == f[k - 1] && f[k] == f[k - 2] && f[k] == f[k - 3] && f[k] == f[k - 4]) {
                ++n;
            }
        }
        return n;
    }

    std::vector<uint8_t> choose(const std::vector<uint8_t>& row, PngFilterSet set)
    {
        PngFilterType best = PngFilterType::None;
        size_t bestCount = 0;
        for (int t = 0; t <= 4; ++t) {
            auto type = static_cast<PngFilterType>(t);
            if (!set.contains(type)) {
                continue;
            }
            size_t n = count(filter(row, type));
            if (n > bestCount) {
                bestCount = n;
                best = type;
            }
        }
        std::vector<uint8_t> out = filter(row, best);
        out.insert(out.begin(), static_cast<uint8_t>(best));
        previous = row;
        return out;
    }
};

// Rows with stretches of repeats, ramps and noise, so that every filter wins somewhere.
std::vector<uint8_t> mixedRow(std::mt19937& rng, size_t length)
{
    std::vector<uint8_t> row(length);
    size_t i = 0;
    while (i < length) {
        size_t run = 1 + rng() % 40;
        int kind = static_cast<int>(rng() % 4);
        uint8_t base = static_cast<uint8_t>(rng());
        for (size_t k = 0; k < run && i < length; ++k, ++i) {
            switch (kind) {
            case 0:
                row[i] = base;
                break;
            case 1:
                row[i] = static_cast<uint8_t>(base + k);
                break;
            case 2:
                row[i] = static_cast<uint8_t>(rng());
                break;
            default:
                row[i] = static_cast<uint8_t>(base + 3 * (k / 3));
                break;
            }
        }
    }
    return row;
}

} // namespace

TEST(PngFilter, MatchesThePlainRuleOnMixedRows)
{
    std::mt19937 rng(42);
    for (size_t bpp : {size_t{1}, size_t{3}}) {
        for (size_t length : {size_t{1}, size_t{3}, size_t{4}, size_t{5}, size_t{17}, size_t{600}, size_t{1537}}) {
            for (PngFilterSet set : {kDefaultPngFilters, PngFilterSet{PngFilterType::Up},
                                     PngFilterSet{PngFilterType::Sub, PngFilterType::Up, PngFilterType::Paeth}}) {
                PngRowFilter fast(length, static_cast<int>(bpp), set);
                Reference reference{std::vector<uint8_t>(length, 0), bpp};
                for (int y = 0; y < 12; ++y) {
                    std::vector<uint8_t> row = mixedRow(rng, length);
                    std::span<const uint8_t> got = fast.filterRow(row.data());
                    std::vector<uint8_t> expected = reference.choose(row, set);
                    ASSERT_EQ(std::vector<uint8_t>(got.begin(), got.end()), expected)
                        << "bpp " << bpp << " length " << length << " row " << y;
                }
            }
        }
    }
}

TEST(PngFilter, ShortRowsAndZeroCountsAreWrittenUnfiltered)
{
    PngRowFilter filter(4, 1);
    const uint8_t same[4] = {9, 9, 9, 9};
    EXPECT_EQ(filter.filterRow(same)[0], 0);
    PngRowFilter wide(8, 1);
    const uint8_t noisy[8] = {1, 200, 3, 77, 5, 150, 7, 8};
    EXPECT_EQ(wide.filterRow(noisy)[0], 0);
}

TEST(PngFilter, EqualCountsGoToTheEarlierFilter)
{
    // An all-zero row: every filter gives zeros and the same count; None comes first.
    PngRowFilter filter(10, 1);
    const uint8_t zeros[10] = {};
    EXPECT_EQ(filter.filterRow(zeros)[0], 0);
    EXPECT_EQ(filter.lastType(), PngFilterType::None);
    // A ramp: Sub turns it into ones (count 5), Paeth too; Sub comes first.
    PngRowFilter ramp(10, 1);
    const uint8_t up[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    EXPECT_EQ(ramp.filterRow(up)[0], 1);
}

TEST(PngFilter, CountsWindowsOfFiveEqualBytes)
{
    const std::vector<uint8_t> bytes = {7, 7, 7, 7, 7, 7, 1, 7, 7, 7, 7, 7};
    EXPECT_EQ(countFiveEqualRuns(bytes), 3U);
    EXPECT_EQ(countFiveEqualRuns(std::vector<uint8_t>(4, 0)), 0U);
    EXPECT_EQ(countFiveEqualRuns({}), 0U);
}
