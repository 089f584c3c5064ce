#include "formats/FormatSize.h"

#include "common/Rounding.h"

namespace {

constexpr uint64_t kKilobyte = 1024;
constexpr uint64_t kMegabyte = 1024 * 1024;

std::string groupThousands(uint64_t value, const std::string& separator)
{
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

} // namespace

std::string FormatSize(uint64_t bytes, const NumberSeparators& separators)
{
    if (bytes / kMegabyte == 0) {
        auto kilobytes = static_cast<uint64_t>(roundHalfEven(static_cast<long double>(bytes) / kKilobyte));
        return groupThousands(kilobytes, separators.thousands) + " Kb";
    }
    auto hundredths = static_cast<uint64_t>(roundHalfEven(static_cast<long double>(bytes) * 100 / kMegabyte));
    uint64_t fraction = hundredths % 100;
    std::string decimals = (fraction < 10 ? "0" : "") + std::to_string(fraction);
    return groupThousands(hundredths / 100, separators.thousands) + separators.decimal + decimals + " Mb";
}
