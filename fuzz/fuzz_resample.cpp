// Drives the resampler and the plain stretch with small random sizes, filters, supports and pixels.
#include "common/ZentrapError.h"
#include "editor/FilterTable.h"
#include "editor/PlainStretch.h"
#include "editor/Resample.h"
#include "fuzz/FuzzReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Sizes from 0 to 40, the small ones (the open cases of one or two pixels) most often.
int smallSize(FuzzReader& in)
{
    uint8_t b = in.byte();
    return (b & 0x80) ? b % 41 : b % 5;
}

float supportFrom(FuzzReader& in, const ResampleFilter& filter)
{
    switch (in.byte() % 4) {
    case 0:
        return filter.support;
    case 1:
        return 0.25F + static_cast<float>(in.byte()) / 32.0F;
    case 2:
        return static_cast<float>(static_cast<int8_t>(in.byte())); // includes 0 and negatives
    default:
        return filter.support * 2.0F;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzReader in(data, size);
    int ws = smallSize(in);
    int hs = smallSize(in);
    int wd = smallSize(in);
    int hd = smallSize(in);
    const ResampleFilter& filter = FilterTable[in.byte() % FilterTable.size()];
    float support = supportFrom(in, filter);
    auto kernel = (in.byte() & 1) ? ResampleKernel::Vectorised : ResampleKernel::Scalar;

    Bitmap source(ws, hs);
    size_t available = in.left();
    const uint8_t* pixels = in.rest();
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
