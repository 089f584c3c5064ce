// A second resampler written as the plainest loops, to check the fast one's float32 arithmetic.
#pragma once

#include "common/Bitmap.h"
#include "editor/FilterTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {

struct Weight {
    int pixel;
    float weight;
};

inline std::vector<std::vector<Weight>> weights(int from, int to, FilterFunction f, float support)
{
    std::vector<std::vector<Weight>> lists(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        std::vector<Weight>& list = lists[static_cast<size_t>(i)];
        if (from == 1 || to == 1) {
            list.push_back({static_cast<int>(static_cast<int64_t>(i) * from / to), 1.0F});
            continue;
        }
        float scale = static_cast<float>(static_cast<long double>(to - 1) / (from - 1));
        float center = static_cast<float>(static_cast<long double>(i) / scale);
        float width = support;
        float fscale = 1.0F;
        if (scale < 1.0F) {
            width = static_cast<float>(static_cast<long double>(support) / scale);
            fscale = static_cast<float>(1.0L / scale);
        }
        long left = static_cast<long>(std::floor(static_cast<long double>(center) - width));
        long right = static_cast<long>(std::ceil(static_cast<long double>(center) + width));
        for (long j = left; j <= right; ++j) {
            long double d = static_cast<long double>(center) - j;
            float w = scale < 1.0F
                          ? static_cast<float>(f(static_cast<float>(d / fscale)) / static_cast<long double>(fscale))
                          : f(static_cast<float>(d));
            if (w == 0.0F) {
                continue;
            }
            long n = j < 0 ? -j : (j >= from ? 2L * from - 1 - j : j);
            list.push_back({static_cast<int>(std::clamp<long>(n, 0, from - 1)), w});
        }
    }
    return lists;
}

inline uint8_t toByte(float sum)
{
    if (sum > 255.0F) {
        return 255;
    }
    if (sum < 0.0F) {
        return 0;
    }
    return static_cast<uint8_t>(std::nearbyint(sum)); // the default mode rounds halves to even
}

inline uint8_t at(const Bitmap& b, int x, int y, int c)
{
    return b.row(y)[x * 3 + c];
}

inline Bitmap resample(const Bitmap& s, int wd, int hd, FilterFunction f, float support)
{
    int ws = s.width();
    int hs = s.height();
    auto columns = weights(ws, wd, f, support);
    Bitmap t(wd, hs);
    for (int k = 0; k < hs; ++k) {
        for (int i = 0; i < wd; ++i) {
            for (int c = 0; c < 3; ++c) {
                float sum = 0.0F;
                for (const Weight& w : columns[static_cast<size_t>(i)]) {
                    sum = std::fma(w.weight, static_cast<float>(at(s, w.pixel, k, c)), sum);
                }
                t.row(k)[i * 3 + c] = toByte(sum);
            }
        }
    }
    auto rows = weights(hs, hd, f, support);
    Bitmap d(wd, hd);
    for (int k = 0; k < wd; ++k) {
        for (int i = 0; i < hd; ++i) {
            for (int c = 0; c < 3; ++c) {
                float sum = 0.0F;
                for (const Weight& w : rows[static_cast<size_t>(i)]) {
                    sum = std::fma(w.weight, static_cast<float>(at(t, k, w.pixel, c)), sum);
                }
                d.row(i)[k * 3 + c] = toByte(sum);
            }
        }
    }
    return d;
}

} // namespace reference
