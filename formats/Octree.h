// The octree colour quantizer: counts a picture's colours into a tree and merges nodes until at most
// PaletteSize leaves remain, each leaf giving one palette colour.
#pragma once

#include "formats/ColorLookup.h"

#include <array>
#include <cstdint>
#include <vector>

struct OctreeNode {
    bool Leaf = false;
    // 64-bit so that large images cannot wrap the sums.
    uint64_t Count = 0;
    uint64_t SumR = 0;
    uint64_t SumG = 0;
    uint64_t SumB = 0;
    int32_t NextReducible = -1;        // next node of its level's reducible list
    std::array<int32_t, 8> Children{}; // node numbers, -1 for none
};

class ColorQuantizer {
public:
    static constexpr int kMaxLeafDepth = 8;

    ColorQuantizer(int paletteSize, int leafDepth);

    // Adds `count` pixels of one colour; the same as `count` single insertions in a row, since the
    // colour's leaf exists after the first.
    void InsertColor(uint8_t red, uint8_t green, uint8_t blue, uint32_t count = 1);
    // Merges the most recently created node of the deepest level that has reducible nodes.
    void MergeDeepestNode();
    // Leaf colours depth-first, children in index order.
    ColorPalette CollectPalette() const;

    int Leaves() const { return leaves_; }
    int PaletteSize() const { return paletteSize_; }

private:
    int32_t NewNode(int level);
    void ReleaseNode(int32_t node);
    void Collect(int32_t node, ColorPalette& palette) const;

    std::vector<OctreeNode> nodes_;
    std::vector<int32_t> freeNodes_;
    int32_t root_ = -1;
    int leaves_ = 0;
    std::array<int32_t, kMaxLeafDepth> reducible_{};
    int paletteSize_;
    int leafDepth_;
};

// The "Optimized..." palette: `count` colours from the octree (black where it has fewer);
// with `windowsFlag` 256 entries: default palette 0-9, 236 octree colours, default palette 10-19.
ColorPalette MakeOptimizedPalette(const Bitmap& source, int count, int leafDepth, bool windowsFlag);
