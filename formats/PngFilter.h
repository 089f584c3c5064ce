// Chooses and applies the PNG filter of each row: every filter of the set is computed and counted in
// one pass over the row (block by block), and the one with the most runs of five equal bytes is written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class PngFilterType : uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

// A set of filter types as bits (1 << type). None is always a member.
class PngFilterSet {
public:
    constexpr PngFilterSet() = default;
    constexpr PngFilterSet(std::initializer_list<PngFilterType> types)
    {
        for (PngFilterType t : types) {
            bits_ |= bit(t);
        }
    }
    constexpr bool contains(PngFilterType t) const { return (bits_ & bit(t)) != 0; }

private:
    static constexpr uint8_t bit(PngFilterType t) { return static_cast<uint8_t>(1U << static_cast<unsigned>(t)); }
    uint8_t bits_ = 1; // None
};

// The set a new PNG image uses: Up is not a member.
constexpr PngFilterSet kDefaultPngFilters{PngFilterType::None, PngFilterType::Sub, PngFilterType::Average,
                                          PngFilterType::Paeth};

// The PNG standard's Paeth predictor.
inline uint8_t paethPredictor(int left, int above, int upperLeft)
{
    int p = left + above - upperLeft;
    int pa = p > left ? p - left : left - p;
    int pb = p > above ? p - above : above - p;
    int pc = p > upperLeft ? p - upperLeft : upperLeft - p;
    if (pa <= pb && pa <= pc) {
        return static_cast<uint8_t>(left);
    }
    return static_cast<uint8_t>(pb <= pc ? above : upperLeft);
}

// Positions k >= 4 of `bytes` at which the byte equals each of the four bytes before it.
size_t countFiveEqualRuns(std::span<const uint8_t> bytes);

// Filters the rows of one image, top row first; remembers the previous (unfiltered) row.
class PngRowFilter {
public:
    PngRowFilter(size_t rowBytes, int bytesPerPixel, PngFilterSet filters = kDefaultPngFilters);

    // The filter-type byte followed by the filtered row (rowBytes + 1 bytes), valid until the next
    // call. `row` must hold rowBytes bytes; it becomes the previous row.
    std::span<const uint8_t> filterRow(const uint8_t* row);

    // The type chosen for the last row.
    PngFilterType lastType() const { return lastType_; }

private:
    size_t rowBytes_;
    size_t bytesPerPixel_;
    PngFilterSet filters_;
    std::vector<uint8_t> previous_;
    // One output line per filter: type byte then filtered bytes.
    std::array<std::vector<uint8_t>, 5> lines_;
    PngFilterType lastType_ = PngFilterType::None;
};
