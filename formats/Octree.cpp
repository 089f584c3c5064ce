#include "formats/Octree.h"

#include "common/ZentrapError.h"
#include "formats/SystemPalettes.h"

#include <algorithm>

ColorQuantizer::ColorQuantizer(int paletteSize, int leafDepth)
    : paletteSize_(std::max(paletteSize, 1)), leafDepth_(std::clamp(leafDepth, 1, kMaxLeafDepth))
{
    reducible_.fill(-1);
    nodes_.reserve(static_cast<size_t>(paletteSize_) * 8 + 64);
}

int32_t ColorQuantizer::NewNode(int level)
{
    int32_t node;
    if (!freeNodes_.empty()) {
        node = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[static_cast<size_t>(node)] = OctreeNode{};
    } else {
        node = static_cast<int32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    OctreeNode& n = nodes_[static_cast<size_t>(node)];
    n.Children.fill(-1);
    if (level == leafDepth_) {
        n.Leaf = true;
        ++leaves_;
    } else {
        n.NextReducible = reducible_[static_cast<size_t>(level)];
        reducible_[static_cast<size_t>(level)] = node;
    }
    return node;
}

void ColorQuantizer::ReleaseNode(int32_t node)
{
    freeNodes_.push_back(node);
}

void ColorQuantizer::InsertColor(uint8_t red, uint8_t green, uint8_t blue, uint32_t count)
{
    if (root_ < 0) {
        root_ = NewNode(0);
    }
    int32_t node = root_;
    for (int level = 0;; ++level) {
        OctreeNode* n = &nodes_[static_cast<size_t>(node)];
        if (n->Leaf) {
            n->Count += count;
            n->SumR += static_cast<uint64_t>(red) * count;
            n->SumG += static_cast<uint64_t>(green) * count;
            n->SumB += static_cast<uint64_t>(blue) * count;
            return;
        }
        int shift = 7 - level;
        size_t child =
            static_cast<size_t>((((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1));
        int32_t next = n->Children[child];
        if (next < 0) {
            next = NewNode(level + 1); // may move the node storage
            nodes_[static_cast<size_t>(node)].Children[child] = next;
        }
        node = next;
    }
}

void ColorQuantizer::MergeDeepestNode()
{
    int level = leafDepth_ - 1;
    while (level > 0 && reducible_[static_cast<size_t>(level)] < 0) {
        --level;
    }
    int32_t node = reducible_[static_cast<size_t>(level)];
    if (node < 0) {
        return; // nothing left to merge
    }
    OctreeNode& n = nodes_[static_cast<size_t>(node)];
    reducible_[static_cast<size_t>(level)] = n.NextReducible;
    int children = 0;
    for (int32_t& child : n.Children) {
        if (child < 0) {
            continue;
        }
        const OctreeNode& c = nodes_[static_cast<size_t>(child)];
        n.Count += c.Count;
        n.SumR += c.SumR;
        n.SumG += c.SumG;
        n.SumB += c.SumB;
        ReleaseNode(child);
        child = -1;
        ++children;
    }
    n.Leaf = true;
    leaves_ -= children - 1;
}

ColorPalette ColorQuantizer::CollectPalette() const
{
    ColorPalette palette;
    palette.reserve(static_cast<size_t>(leaves_));
    if (root_ >= 0) {
        Collect(root_, palette);
    }
    return palette;
}

void ColorQuantizer::Collect(int32_t node, ColorPalette& palette) const
{
    const OctreeNode& n = nodes_[static_cast<size_t>(node)];
    if (n.Leaf) {
        if (n.Count == 0) {
            palette.push_back({0, 0, 0, 0});
        } else {
            palette.push_back({static_cast<uint8_t>(n.SumR / n.Count), static_cast<uint8_t>(n.SumG / n.Count),
                               static_cast<uint8_t>(n.SumB / n.Count), 0});
        }
        return;
    }
    for (int32_t child : n.Children) {
        if (child >= 0) {
            Collect(child, palette);
        }
    }
}

namespace {

// Inserts a 24-bit picture row by row; a run of one colour is one insertion with its length.
void insertPicture(ColorQuantizer& quantizer, const Bitmap& source)
{
    for (int y = 0; y < source.height(); ++y) {
        const uint8_t* p = source.row(y);
        const uint8_t* end = p + static_cast<size_t>(source.width()) * 3;
        while (p < end) {
            const uint8_t* run = p + 3;
            while (run < end && run[0] == p[0] && run[1] == p[1] && run[2] == p[2]) {
                run += 3;
            }
            quantizer.InsertColor(p[2], p[1], p[0], static_cast<uint32_t>((run - p) / 3));
            while (quantizer.Leaves() > quantizer.PaletteSize()) {
                quantizer.MergeDeepestNode();
            }
            p = run;
        }
    }
}

} // namespace

ColorPalette MakeOptimizedPalette(const Bitmap& source, int count, int leafDepth, bool windowsFlag)
{
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        throw ZentrapError("The optimized palette needs a 24-bit picture");
    }
    constexpr int kWindowsOctreeSlots = 236;
    int octreeColors = windowsFlag ? kWindowsOctreeSlots : count;
    if (octreeColors < 1 || octreeColors > 256) {
        throw ZentrapError("Invalid color count");
    }
    ColorQuantizer quantizer(octreeColors, leafDepth);
    insertPicture(quantizer, source);
    ColorPalette leaves = quantizer.CollectPalette();

    ColorPalette palette(windowsFlag ? 256 : static_cast<size_t>(count), PaletteEntry{});
    size_t first = 0;
    if (windowsFlag) {
        const auto& system = defaultPalette();
        std::copy(system.begin(), system.begin() + 10, palette.begin());
        std::copy(system.begin() + 10, system.end(), palette.begin() + 246);
        first = 10;
    }
    std::copy_n(leaves.begin(), std::min<size_t>(leaves.size(), static_cast<size_t>(octreeColors)),
                palette.begin() + static_cast<std::ptrdiff_t>(first));
    return palette;
}
