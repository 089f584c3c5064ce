#include "platform/ScaleFactorDensity.h"

#include "common/Rounding.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace {

constexpr double kReferencePixelsPerInch = 96.0;

std::optional<double> factorOf(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    double factor = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), factor);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !(factor > 0.0) || factor > 16.0) {
        return std::nullopt;
    }
    return factor;
}

// The first entry of the per-screen list, with or without a screen name before it.
std::optional<double> firstScreenFactor(std::string_view list)
{
    const std::string_view entry = list.substr(0, list.find(';'));
    const size_t named = entry.find('=');
    return factorOf(named == std::string_view::npos ? entry : entry.substr(named + 1));
}

std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

} // namespace

std::optional<int> densityOfScaleFactors(std::string_view scaleFactor, std::string_view screenScaleFactors)
{
    const std::optional<double> global = factorOf(scaleFactor);
    const std::optional<double> screen = firstScreenFactor(screenScaleFactors);
    if (!global && !screen) {
        return std::nullopt;
    }
    const double pixelsPerInch = kReferencePixelsPerInch * global.value_or(1.0) * screen.value_or(1.0);
    return static_cast<int>(roundHalfEven(static_cast<long double>(pixelsPerInch)));
}

void turnScaleFactorsIntoDensity()
{
    const std::optional<int> density =
        densityOfScaleFactors(environment("QT_SCALE_FACTOR"), environment("QT_SCREEN_SCALE_FACTORS"));
    ::unsetenv("QT_SCALE_FACTOR");
    ::unsetenv("QT_SCREEN_SCALE_FACTORS");
    if (density && environment("QT_FONT_DPI").empty()) {
        ::setenv("QT_FONT_DPI", std::to_string(*density).c_str(), 1);
    }
}
