// The resampling filters: each a kernel function with the distance over which it reaches.
#pragma once

#include <array>
#include <string_view>

// Kernel value at distance x; computed in extended precision, returned rounded to a 32-bit float.
using FilterFunction = float (*)(float x);

struct ResampleFilter {
    std::string_view name;
    FilterFunction function;
    float support;
};

float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float SplineFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);

inline constexpr std::array<ResampleFilter, 7> FilterTable = {{
    {"Box", BoxFilter, 0.5F},
    {"Triangle", TriangleFilter, 1.0F},
    {"Hermite", HermiteFilter, 1.0F},
    {"Bell", BellFilter, 1.5F},
    {"B-Spline", SplineFilter, 2.0F},
    {"Lanczos3", Lanczos3Filter, 3.0F},
    {"Mitchell", MitchellFilter, 2.0F},
}};

// The row whose name matches without regard to case, or nullptr.
const ResampleFilter* findResampleFilter(std::string_view name);
