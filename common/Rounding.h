// Rounding of floating-point values to integers, halves to the even neighbour, as used everywhere.
#pragma once

#include <cmath>
#include <cstdint>

// Banker's rounding independent of the current floating-point rounding mode.
inline int64_t roundHalfEven(long double value)
{
    long double floorValue = std::floor(value);
    long double diff = value - floorValue;
    auto result = static_cast<int64_t>(floorValue);
    if (diff > 0.5L || (diff == 0.5L && (result & 1) != 0)) {
        ++result;
    }
    return result;
}

// Halves away from zero: the platform's multiply-divide (printer sizes).
inline int32_t mulDiv(int32_t number, int32_t numerator, int32_t denominator)
{
    if (denominator == 0) {
        return -1;
    }
    int64_t product = static_cast<int64_t>(number) * numerator;
    int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
    bool negative = (product < 0) != (denominator < 0);
    int64_t magnitude = (product < 0 ? -product : product);
    int64_t den = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
    int64_t q = (magnitude + half) / den;
    int64_t r = negative ? -q : q;
    if (r > INT32_MAX || r < INT32_MIN) {
        return -1;
    }
    return static_cast<int32_t>(r);
}
