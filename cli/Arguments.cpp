#include "cli/Arguments.h"

#include "cli/Commands.h"
#include "cli/ImageFiles.h"

#include <charconv>
#include <string>

namespace {

std::string range(int low, int high)
{
    return std::to_string(low) + " to " + std::to_string(high);
}

} // namespace

int parseWholeNumber(std::string_view text, std::string_view option, int low, int high)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw CliUsageError(std::string(option) + " wants a whole number from " + range(low, high) + ", not \"" +
                            std::string(text) + "\"");
    }
    return value;
}

std::vector<int> parseNumberList(std::string_view text, std::string_view option, size_t count, int low, int high)
{
    std::vector<int> numbers;
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t comma = i + 1 < count ? text.find(',', start) : text.size();
        if (comma == std::string_view::npos || (i + 1 == count && text.find(',', start) != std::string_view::npos)) {
            throw CliUsageError(std::string(option) + " wants " + std::to_string(count) +
                                " whole numbers separated by commas, not \"" + std::string(text) + "\"");
        }
        numbers.push_back(parseWholeNumber(text.substr(start, comma - start), option, low, high));
        start = comma + 1;
    }
    return numbers;
}

void requireImageExtension(const std::string& path, bool ppmToo)
{
    if (imageFormatOfFileName(path) || (ppmToo && isPpmFileName(path))) {
        return;
    }
    throw CliUsageError("unknown output file extension (use " + outputExtensionList() +
                        std::string(ppmToo ? " or .ppm" : "") + "): " + path);
}
