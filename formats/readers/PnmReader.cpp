#include "formats/readers/PnmReader.h"

#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr uint64_t kSaturated = uint64_t{1} << 40;

[[noreturn]] void truncated()
{
    throw ZentrapError("Truncated PNM file: the pixel data ends early");
}

// Walks the header and the plain-text samples: numbers separated by white space and # comments.
class PnmText {
public:
    explicit PnmText(std::span<const uint8_t> data) : data_(data), at_(2) {}

    // Saturates far above every limit, so that an absurd number is refused by the caller's check.
    uint64_t number()
    {
        skipSpace();
        if (at_ >= data_.size()) {
            truncated();
        }
        if (data_[at_] < '0' || data_[at_] > '9') {
            throw ZentrapError("Damaged PNM file: a number was expected");
        }
        uint64_t value = 0;
        while (at_ < data_.size() && data_[at_] >= '0' && data_[at_] <= '9') {
            value = std::min<uint64_t>(value * 10 + (data_[at_++] - '0'), kSaturated);
        }
        return value;
    }

    // A plain PBM pixel is one digit, with or without space between pixels.
    uint32_t bit()
    {
        skipSpace();
        if (at_ >= data_.size()) {
            truncated();
        }
        uint8_t c = data_[at_++];
        if (c != '0' && c != '1') {
            throw ZentrapError("Damaged PNM file: a 0 or 1 was expected");
        }
        return c - '0';
    }

    // The single white-space byte between the header and binary samples.
    size_t binaryStart()
    {
        if (at_ >= data_.size()) {
            truncated();
        }
        return at_ + 1;
    }

    size_t remaining() const { return at_ < data_.size() ? data_.size() - at_ : 0; }

private:
    void skipSpace()
    {
        while (at_ < data_.size()) {
            uint8_t c = data_[at_];
            if (c == '#') {
                while (at_ < data_.size() && data_[at_] != '\n' && data_[at_] != '\r') {
                    ++at_;
                }
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                ++at_;
            } else {
                return;
            }
        }
    }

    std::span<const uint8_t> data_;
    size_t at_;
};

struct Layout {
    char kind; // '1'..'6'
    int width;
    int height;
    uint32_t maxValue;
    int channels; // 1 or 3
    bool binary;
    bool bilevel;
};

uint8_t scaled(uint32_t value, uint32_t maxValue)
{
    if (value >= maxValue) {
        return 255;
    }
    return static_cast<uint8_t>((value * 255 + maxValue / 2) / maxValue);
}

// Checked before the picture is allocated: the file must be able to hold every sample.
void checkDataLength(const Layout& l, size_t available)
{
    uint64_t samples = uint64_t(l.width) * uint64_t(l.height) * uint64_t(l.channels);
    uint64_t needed = 0;
    if (l.bilevel && l.binary) {
        needed = uint64_t((l.width + 7) / 8) * uint64_t(l.height);
    } else if (l.binary) {
        needed = samples * (l.maxValue > 255 ? 2 : 1);
    } else {
        needed = l.bilevel ? samples : 2 * samples - 1; // a digit, and space between numbers
    }
    if (available < needed) {
        truncated();
    }
}

Bitmap readBilevel(std::span<const uint8_t> file, const Layout& l, PnmText& text)
{
    Bitmap out(l.width, l.height, PixelFormat::Bpp1);
    out.setColorTable({{255, 255, 255, 0}, {0, 0, 0, 0}}); // a 1 bit is black
    if (l.binary) {
        size_t at = text.binaryStart();
        size_t rowBytes = (static_cast<size_t>(l.width) + 7) / 8;
        for (int y = 0; y < l.height; ++y, at += rowBytes) {
            std::memcpy(out.row(y), file.data() + at, rowBytes);
        }
        return out;
    }
    for (int y = 0; y < l.height; ++y) {
        for (int x = 0; x < l.width; ++x) {
            out.setPixelValue(x, y, text.bit());
        }
    }
    return out;
}

Bitmap readSamples(std::span<const uint8_t> file, const Layout& l, PnmText& text)
{
    Bitmap out(l.width, l.height, l.channels == 1 ? PixelFormat::Bpp8 : PixelFormat::Bpp24);
    if (l.channels == 1) {
        out.setColorTable(greyRamp(256));
    }
    size_t at = l.binary ? text.binaryStart() : 0;
    const bool wide = l.maxValue > 255;
    auto sample = [&]() -> uint8_t {
        if (!l.binary) {
            return scaled(static_cast<uint32_t>(std::min<uint64_t>(text.number(), l.maxValue)), l.maxValue);
        }
        uint32_t v = wide ? uint32_t(file[at] << 8 | file[at + 1]) : file[at];
        at += wide ? 2 : 1;
        return scaled(v, l.maxValue);
    };
    for (int y = 0; y < l.height; ++y) {
        uint8_t* row = out.row(y);
        for (int x = 0; x < l.width; ++x) {
            if (l.channels == 1) {
                row[x] = sample();
            } else {
                row[3 * x + 2] = sample(); // red, green, blue in the file; blue first in memory
                row[3 * x + 1] = sample();
                row[3 * x] = sample();
            }
        }
    }
    return out;
}

} // namespace

Bitmap readPnm(std::span<const uint8_t> file, const ImageLimits& limits)
{
    if (file.size() < 3 || file[0] != 'P' || file[1] < '1' || file[1] > '6') {
        throw ZentrapError("Damaged PNM file: unknown kind");
    }
    Layout l{};
    l.kind = static_cast<char>(file[1]);
    l.bilevel = l.kind == '1' || l.kind == '4';
    l.binary = l.kind >= '4';
    l.channels = l.kind == '3' || l.kind == '6' ? 3 : 1;
    PnmText text(file);
    auto width = static_cast<int64_t>(text.number());
    auto height = static_cast<int64_t>(text.number());
    checkImageSize(width, height, limits);
    l.width = static_cast<int>(width);
    l.height = static_cast<int>(height);
    l.maxValue = 1;
    if (!l.bilevel) {
        uint64_t maxValue = text.number();
        if (maxValue == 0 || maxValue > 65535) {
            throw ZentrapError("Damaged PNM file: the maximum sample value must be 1 to 65535");
        }
        l.maxValue = static_cast<uint32_t>(maxValue);
    }
    checkDataLength(l, l.binary ? text.remaining() - (text.remaining() > 0 ? 1 : 0) : text.remaining());
    return l.bilevel ? readBilevel(file, l, text) : readSamples(file, l, text);
}
