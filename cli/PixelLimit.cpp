#include "cli/PixelLimit.h"

#include "cli/Arguments.h"
#include "cli/Commands.h"

#include <cstdlib>

namespace {

constexpr std::string_view kOption = "--max-pixels";

int64_t parseLimit(std::string_view text, std::string_view name)
{
    return parseWholeNumber(text, name, 1, static_cast<int>(kMaxImagePixels));
}

} // namespace

ImageLimits takePixelLimit(std::vector<std::string>& args)
{
    ImageLimits limits = kCommandLineImageLimits;
    if (const char* variable = std::getenv(kMaxPixelsVariable); variable != nullptr && *variable != '\0') {
        limits.maxPixels = parseLimit(variable, kMaxPixelsVariable);
    }
    for (size_t i = 0; i < args.size();) {
        const std::string& arg = args[i];
        if (arg == kOption) {
            if (i + 1 >= args.size()) {
                throw CliUsageError(std::string(kOption) + " needs a value");
            }
            limits.maxPixels = parseLimit(args[i + 1], kOption);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (arg.starts_with(std::string(kOption) + "=")) {
            limits.maxPixels = parseLimit(std::string_view(arg).substr(kOption.size() + 1), kOption);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return limits;
}
