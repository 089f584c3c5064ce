#include "editor/ResampleWeights.h"

#include "common/ZentrapError.h"
#include "editor/PlainStretch.h"

#include <algorithm>
#include <cmath>

namespace {

using Extended = long double;

// Where a filter position j outside the source reads: mirrored at the edges without repeating the
// edge pixel on the left (−j) but with it on the right (2·Ws − 1 − j), then kept inside the source.
int32_t mirroredSourceIndex(int64_t j, int sourceLength)
{
    int64_t n = j;
    if (j < 0) {
        n = -j;
    } else if (j >= sourceLength) {
        n = 2 * static_cast<int64_t>(sourceLength) - 1 - j;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, sourceLength - 1));
}

// Room for trunc(2 × support′ + 1) weights in each list; beyond kMaxSampleWeights in all (a filter
// reaching across a huge source, or a huge destination) the image is refused before allocating.
int listCapacity(float scaledSupport, int lists)
{
    long double capacity = std::max(1.0L, std::trunc(static_cast<long double>(scaledSupport) * 2.0L + 1.0L));
    if (!(capacity * lists <= static_cast<long double>(kMaxSampleWeights))) {
        throw ZentrapError("Image too big to resample");
    }
    return static_cast<int>(capacity);
}

} // namespace

SampleWeightTable::SampleWeightTable(int lists, int capacity)
    : capacity_(capacity), counts_(static_cast<size_t>(lists), 0),
      entries_(static_cast<size_t>(lists) * static_cast<size_t>(capacity))
{
}

void SampleWeightTable::setList(int index, std::span<const SampleWeight> weights)
{
    // Only a support smaller than the filter's own reach can need more room; keep every weight then.
    if (weights.size() > static_cast<size_t>(capacity_)) {
        widen(static_cast<int>(weights.size()));
    }
    std::copy(weights.begin(), weights.end(),
              entries_.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(index) * static_cast<size_t>(capacity_)));
    counts_[static_cast<size_t>(index)] = static_cast<int>(weights.size());
}

void SampleWeightTable::widen(int capacity)
{
    std::vector<SampleWeight> wider(counts_.size() * static_cast<size_t>(capacity));
    for (size_t i = 0; i < counts_.size(); ++i) {
        std::copy_n(entries_.begin() + static_cast<ptrdiff_t>(i * static_cast<size_t>(capacity_)), counts_[i],
                    wider.begin() + static_cast<ptrdiff_t>(i * static_cast<size_t>(capacity)));
    }
    entries_ = std::move(wider);
    capacity_ = capacity;
}

float resampleScale(int sourceLength, int destinationLength)
{
    if (sourceLength == 1) {
        return static_cast<float>(static_cast<Extended>(destinationLength) / sourceLength);
    }
    return static_cast<float>(static_cast<Extended>(destinationLength - 1) / (sourceLength - 1));
}

SampleWeightTable buildSampleWeights(int sourceLength, int destinationLength, FilterFunction filter, float support,
                                     const std::function<void(int)>& beforeItem)
{
    auto announce = [&](int m) {
        if (beforeItem) {
            beforeItem(m);
        }
    };
    // One pixel on either side leaves no room for a filter (a zero scale, or mirrors outside the
    // source): every destination index takes its nearest source pixel whole.
    if (sourceLength == 1 || destinationLength == 1) {
        SampleWeightTable table(destinationLength, 1);
        for (int i = 0; i < destinationLength; ++i) {
            announce(i);
            SampleWeight only{plainStretchIndex(i, sourceLength, destinationLength), 1.0F};
            table.setList(i, {&only, 1});
        }
        return table;
    }

    float scale = resampleScale(sourceLength, destinationLength);
    bool shrinking = scale < 1.0F;
    // Shrinking widens the filter by 1/scale and lowers it by the same factor.
    float width = shrinking ? static_cast<float>(static_cast<Extended>(support) / scale) : support;
    float fscale = shrinking ? static_cast<float>(1.0L / static_cast<Extended>(scale)) : 1.0F;

    SampleWeightTable table(destinationLength, listCapacity(width, destinationLength));
    std::vector<SampleWeight> weights;
    for (int i = 0; i < destinationLength; ++i) {
        announce(i);
        auto center = static_cast<float>(static_cast<Extended>(i) / scale);
        auto left = static_cast<int64_t>(std::floor(static_cast<Extended>(center) - width));
        auto right = static_cast<int64_t>(std::ceil(static_cast<Extended>(center) + width));
        weights.clear();
        for (int64_t j = left; j <= right; ++j) {
            Extended distance = static_cast<Extended>(center) - static_cast<Extended>(j);
            float weight = shrinking
                               ? static_cast<float>(filter(static_cast<float>(distance / fscale)) / Extended{fscale})
                               : filter(static_cast<float>(distance));
            if (weight == 0.0F) {
                continue;
            }
            weights.push_back({mirroredSourceIndex(j, sourceLength), weight});
        }
        table.setList(i, weights);
    }
    return table;
}
