#include "editor/ResampleWeights.h"

#include "common/ZentrapError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Entry {
    int pixel;
    float weight;
};

std::vector<Entry> entries(const SampleWeightTable& t, int i)
{
    std::vector<Entry> out;
    for (const SampleWeight& w : t.list(i)) {
        out.push_back({w.pixel, w.weight});
    }
    return out;
}

} // namespace

TEST(ResampleWeights, ScaleFactorsPutTheEndsOnTheEnds)
{
    EXPECT_EQ(resampleScale(2, 3), 2.0F);
    EXPECT_EQ(resampleScale(1, 5), 5.0F);
    EXPECT_EQ(resampleScale(10, 5), static_cast<float>(4.0L / 9.0L));
    EXPECT_EQ(resampleScale(7, 7), 1.0F);
}

TEST(ResampleWeights, WideningTwoToThreeMirrorsAtBothEnds)
{
    SampleWeightTable t = buildSampleWeights(2, 3, MitchellFilter, 2.0F);
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(t.capacity(), 5);
    float near = MitchellFilter(0.0F);
    float side = MitchellFilter(1.0F);
    EXPECT_EQ(near, static_cast<float>(8.0L / 9.0L));
    EXPECT_EQ(side, static_cast<float>(1.0L / 18.0L));
    // Column 0 sits on pixel 0; position −1 mirrors to pixel 1 (no edge repeat on the left).
    auto first = entries(t, 0);
    ASSERT_EQ(first.size(), 3U);
    EXPECT_EQ(first[0].pixel, 1);
    EXPECT_EQ(first[0].weight, side);
    EXPECT_EQ(first[1].pixel, 0);
    EXPECT_EQ(first[1].weight, near);
    EXPECT_EQ(first[2].pixel, 1);
    EXPECT_EQ(first[2].weight, side);
    // The middle: distances 1.5, 0.5, 0.5, 1.5; position 2 mirrors to 2·2 − 1 − 2 = 1.
    auto middle = entries(t, 1);
    ASSERT_EQ(middle.size(), 4U);
    int pixels[] = {1, 0, 1, 1};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(middle[k].pixel, pixels[k]);
    }
    EXPECT_NEAR(middle[0].weight, -0.0347222F, 1e-6F);
    EXPECT_NEAR(middle[1].weight, 0.5347222F, 1e-6F);
    EXPECT_EQ(middle[1].weight, middle[2].weight);
    EXPECT_EQ(middle[0].weight, middle[3].weight);
    // The last column sits on pixel 1; position 2 mirrors to pixel 1 (the edge repeats on the right).
    auto last = entries(t, 2);
    ASSERT_EQ(last.size(), 3U);
    EXPECT_EQ(last[0].pixel, 0);
    EXPECT_EQ(last[1].pixel, 1);
    EXPECT_EQ(last[1].weight, near);
    EXPECT_EQ(last[2].pixel, 1);
}

TEST(ResampleWeights, ShrinkingByHalfReachesFourPixelsAndScalesTheWeights)
{
    // 21 → 11: scale exactly 0.5, support 2 becomes 4, weights f(d / 2) / 2.
    SampleWeightTable t = buildSampleWeights(21, 11, MitchellFilter, 2.0F);
    EXPECT_EQ(t.capacity(), 9);
    auto mid = entries(t, 5);  // centre at source pixel 10
    ASSERT_EQ(mid.size(), 7U); // distances −3 … 3; ±4 weigh nothing
    double total = 0;
    for (size_t k = 0; k < mid.size(); ++k) {
        int distance = 10 - mid[k].pixel;
        EXPECT_LT(std::abs(distance), 4);
        EXPECT_EQ(mid[k].weight, MitchellFilter(static_cast<float>(distance) / 2.0F) / 2.0F);
        total += mid[k].weight;
    }
    EXPECT_NEAR(total, 1.0, 1e-6);
}

TEST(ResampleWeights, ListsStayWithinCapacityAndInsideTheSource)
{
    for (const ResampleFilter& f : FilterTable) {
        for (int from : {2, 3, 5, 8, 13, 40}) {
            for (int to : {2, 3, 4, 7, 13, 29, 100}) {
                SampleWeightTable t = buildSampleWeights(from, to, f.function, f.support);
                int natural = static_cast<int>(std::trunc(
                    2.0L * (resampleScale(from, to) < 1.0F
                                ? static_cast<float>(static_cast<long double>(f.support) / resampleScale(from, to))
                                : f.support) +
                    1.0L));
                EXPECT_EQ(t.capacity(), std::max(1, natural)) << f.name << " " << from << "→" << to;
                for (int i = 0; i < to; ++i) {
                    EXPECT_GE(t.list(i).size(), 1U);
                    for (const SampleWeight& w : t.list(i)) {
                        ASSERT_GE(w.pixel, 0);
                        ASSERT_LT(w.pixel, from) << f.name << " " << from << "→" << to;
                    }
                }
            }
        }
    }
}

TEST(ResampleWeights, TargetOfTwoClampsMirrorsToTheNearestEdge)
{
    // 9 → 2: scale 1/8, so the filter reaches 16 pixels beyond each end.
    // Positions 8, −8 and 9 read pixel 8 by mirroring; −9 … −15 mirror to 9 … 15 and are clamped to it.
    SampleWeightTable t = buildSampleWeights(9, 2, MitchellFilter, 2.0F);
    int onRightEdge = 0;
    for (const SampleWeight& w : t.list(0)) {
        ASSERT_GE(w.pixel, 0);
        ASSERT_LT(w.pixel, 9);
        onRightEdge += w.pixel == 8 ? 1 : 0;
    }
    EXPECT_EQ(onRightEdge, 10);
}

TEST(ResampleWeights, OnePixelSourceOrTargetTakesTheNearestPixelWhole)
{
    SampleWeightTable widen = buildSampleWeights(1, 4, MitchellFilter, 2.0F);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(widen.list(i).size(), 1U);
        EXPECT_EQ(widen.list(i)[0].pixel, 0);
        EXPECT_EQ(widen.list(i)[0].weight, 1.0F);
    }
    SampleWeightTable narrow = buildSampleWeights(6, 1, MitchellFilter, 2.0F);
    ASSERT_EQ(narrow.list(0).size(), 1U);
    EXPECT_EQ(narrow.list(0)[0].pixel, 0);
}

TEST(ResampleWeights, ASupportBelowTheFilterReachKeepsEveryWeight)
{
    // Triangle with support 0.25 has room for one weight, yet a centre between two pixels touches two.
    SampleWeightTable t = buildSampleWeights(2, 3, TriangleFilter, 0.25F);
    ASSERT_EQ(t.list(1).size(), 2U);
    EXPECT_EQ(t.list(1)[0].weight, 0.5F);
    EXPECT_EQ(t.list(0).size(), 1U);
    EXPECT_EQ(t.list(0)[0].weight, 1.0F);
}

TEST(ResampleWeights, ListsBeyondTheLimitAreRefusedBeforeAllocating)
{
    for (auto [from, support] : {std::pair{1 << 20, 64.0F}, std::pair{2147483647, 2.0F}}) {
        try {
            buildSampleWeights(from, 2, MitchellFilter, support);
            ADD_FAILURE() << "no error for " << from;
        } catch (const ZentrapError& e) {
            EXPECT_STREQ(e.what(), "Image too big to resample");
        }
    }
}
