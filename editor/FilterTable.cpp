#include "editor/FilterTable.h"

#include <cctype>
#include <cmath>

namespace {

using Extended = long double;

constexpr Extended kPi = 3.141592653589793238462643383279502884L;

Extended magnitude(float x)
{
    return std::fabs(static_cast<Extended>(x));
}

Extended sinc(Extended t)
{
    if (t == 0.0L) {
        return 1.0L;
    }
    Extended angle = kPi * t;
    return std::sin(angle) / angle;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

float BoxFilter(float x)
{
    // Half-open so that a sample exactly between two pixels belongs to one of them only.
    return (x > -0.5F && x <= 0.5F) ? 1.0F : 0.0F;
}

float TriangleFilter(float x)
{
    Extended a = magnitude(x);
    return a < 1.0L ? static_cast<float>(1.0L - a) : 0.0F;
}

float HermiteFilter(float x)
{
    Extended a = magnitude(x);
    return a < 1.0L ? static_cast<float>((2.0L * a - 3.0L) * a * a + 1.0L) : 0.0F;
}

float BellFilter(float x)
{
    Extended a = magnitude(x);
    if (a < 0.5L) {
        return static_cast<float>(0.75L - a * a);
    }
    if (a < 1.5L) {
        Extended t = a - 1.5L;
        return static_cast<float>(0.5L * t * t);
    }
    return 0.0F;
}

float SplineFilter(float x)
{
    Extended a = magnitude(x);
    if (a < 1.0L) {
        return static_cast<float>(0.5L * a * a * a - a * a + 2.0L / 3.0L);
    }
    if (a < 2.0L) {
        Extended t = 2.0L - a;
        return static_cast<float>(t * t * t / 6.0L);
    }
    return 0.0F;
}

float Lanczos3Filter(float x)
{
    Extended a = magnitude(x);
    return a < 3.0L ? static_cast<float>(sinc(a) * sinc(a / 3.0L)) : 0.0F;
}

float MitchellFilter(float x)
{
    Extended a = magnitude(x);
    Extended a2 = a * a;
    Extended a3 = a2 * a;
    if (a < 1.0L) {
        return static_cast<float>((7.0L * a3 - 12.0L * a2 + 16.0L / 3.0L) / 6.0L);
    }
    if (a < 2.0L) {
        return static_cast<float>((-(7.0L / 3.0L) * a3 + 12.0L * a2 - 20.0L * a + 32.0L / 3.0L) / 6.0L);
    }
    return 0.0F;
}

const ResampleFilter* findResampleFilter(std::string_view name)
{
    for (const ResampleFilter& filter : FilterTable) {
        if (sameNameIgnoringCase(filter.name, name)) {
            return &filter;
        }
    }
    return nullptr;
}
