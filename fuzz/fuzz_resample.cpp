// Drives the resampler and the plain stretch with small random sizes, filters, supports and pixels.
#include "common/ZentrapError.h"
#include "editor/FilterTable.h"
#include "editor/PlainStretch.h"
#include "editor/Resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    const uint8_t* rest(size_t& size) const
    {
        size = size_ - pos_;
        return data_ + pos_;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Sizes from 0 to 40, the small ones (the open cases of one or two pixels) most often.
int smallSize(ByteReader& in)
{
    uint8_t b = in.next();
    return (b & 0x80) ? b % 41 : b % 5;
}

float supportFrom(ByteReader& in, const ResampleFilter& filter)
{
    switch (in.next() % 4) {
    case 0:
        return filter.support;
    case 1:
        return 0.25F + static_cast<float>(in.next()) / 32.0F;
    case 2:
        return static_cast<float>(static_cast<int8_t>(in.next())); // includes 0 and negatives
    default:
        return filter.support * 2.0F;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ByteReader in(data, size);
    int ws = smallSize(in);
    int hs = smallSize(in);
    int wd = smallSize(in);
    int hd = smallSize(in);
    const ResampleFilter& filter = FilterTable[in.next() % FilterTable.size()];
    float support = supportFrom(in, filter);
    auto kernel = (in.next() & 1) ? ResampleKernel::Vectorised : ResampleKernel::Scalar;

    Bitmap source(ws, hs);
    size_t available = 0;
    const uint8_t* pixels = in.rest(available);
    for (int y = 0; y < hs && ws > 0 && available > 0; ++y) {
        size_t take = std::min(available, static_cast<size_t>(ws) * 3);
        std::memcpy(source.row(y), pixels, take);
        pixels += take;
        available -= take;
    }
    try {
        Bitmap destination(wd, hd);
        ResampleBitmap(source, destination, filter.function, support, {}, kernel);
    } catch (const ZentrapError&) {
    }
    try {
        Bitmap destination(wd, hd);
        PlainStretch(source, destination);
    } catch (const ZentrapError&) {
    }
    return 0;
}
