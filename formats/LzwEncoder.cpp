#include "formats/LzwEncoder.h"

namespace {

constexpr uint32_t kLastAssignableCode = 4094;
constexpr int kMaxWidth = 12;
constexpr uint32_t kNoExtension = 0xFFFFFFFF;

} // namespace

void LzwEncoder::EmitCode(uint32_t code)
{
    packer_->PutCode(code, width_);
    if (code == clearCode_) {
        width_ = initialWidth_;
        limit_ = (1U << width_) - 1;
    } else if (nextFree_ > limit_) {
        ++width_;
        limit_ = width_ == kMaxWidth ? 4096 : (1U << width_) - 1;
    }
}

void LzwEncoder::StartTable()
{
    EmitCode(clearCode_);
    table_.Clear();
    lastExtension_.fill(kNoExtension);
    nextFree_ = clearCode_ + 2;
}

int LzwEncoder::FindExtension(uint32_t prefix, uint32_t pixel, int& slot)
{
    uint32_t last = lastExtension_[prefix];
    if ((last >> 16) == pixel) {
        return static_cast<int>(last & 0xFFFF);
    }
    int found = table_.Lookup((prefix << 8) | pixel, slot);
    if (found >= 0) {
        lastExtension_[prefix] = (pixel << 16) | static_cast<uint32_t>(found);
    }
    return found;
}

void LzwEncoder::Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize)
{
    packer_ = &packer;
    clearCode_ = 1U << minCodeSize;
    initialWidth_ = minCodeSize + 1;
    width_ = initialWidth_;
    limit_ = (1U << width_) - 1;
    uint32_t endCode = clearCode_ + 1;
    if (pixels.empty()) {
        EmitCode(endCode);
        return;
    }
    StartTable();
    uint32_t prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        uint32_t pixel = pixels[i];
        int slot = 0;
        int found = FindExtension(prefix, pixel, slot);
        if (found >= 0) {
            prefix = static_cast<uint32_t>(found);
            continue;
        }
        EmitCode(prefix);
        if (nextFree_ > kLastAssignableCode) {
            StartTable();
        } else {
            table_.StoreAt(slot, (prefix << 8) | pixel, static_cast<int>(nextFree_));
            lastExtension_[prefix] = (pixel << 16) | nextFree_;
            ++nextFree_;
        }
        prefix = pixel;
    }
    EmitCode(prefix);
    EmitCode(endCode);
}
