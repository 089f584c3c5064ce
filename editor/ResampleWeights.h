// The weight lists of the resampler: which source pixels feed each destination column or row, and how much.
#pragma once

#include "editor/FilterTable.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

struct SampleWeight {
    int32_t pixel;
    float weight;
};

// One SampleWeightList per destination column (or row), stored side by side. Each list has room
// for trunc(2 × support′ + 1) entries, support′ being the support scaled for shrinking.
class SampleWeightTable {
public:
    SampleWeightTable(int lists, int capacity);

    int size() const { return static_cast<int>(counts_.size()); }
    int capacity() const { return capacity_; }
    std::span<const SampleWeight> list(int index) const
    {
        return {entries_.data() + static_cast<size_t>(index) * static_cast<size_t>(capacity_),
                static_cast<size_t>(counts_[static_cast<size_t>(index)])};
    }
    void setList(int index, std::span<const SampleWeight> weights);

private:
    void widen(int capacity);

    int capacity_;
    std::vector<int> counts_;
    std::vector<SampleWeight> entries_;
};

// The scale factor of one direction: the first and last destination pixels sit on the first and last
// source pixels.
float resampleScale(int sourceLength, int destinationLength);

// The most weights the lists of one direction may hold together.
inline constexpr int64_t kMaxSampleWeights = int64_t{1} << 26;

// Weights of every destination index in one direction. A source of one
// pixel or a destination of one pixel uses the plain stretch (a single weight of 1); mirrored indices
// that would still fall outside the source (a destination of two pixels, or a support reaching past
// the mirror) are clamped to the nearest edge. `beforeItem(m)` runs before destination index m.
// Fails with "Image too big to resample" when the lists would hold more than kMaxSampleWeights.
SampleWeightTable buildSampleWeights(int sourceLength, int destinationLength, FilterFunction filter, float support,
                                     const std::function<void(int)>& beforeItem = {});
