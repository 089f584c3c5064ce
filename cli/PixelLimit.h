// The largest picture zentrap-cli reads or makes, which the user may lower below the readers' own
// limit with --max-pixels N (any verb) or the ZENTRAP_MAX_PIXELS environment variable.
#pragma once

#include "formats/readers/ImageLimits.h"

#include <string>
#include <vector>

inline constexpr const char* kMaxPixelsVariable = "ZENTRAP_MAX_PIXELS";

// Takes --max-pixels N / --max-pixels=N out of `args` (the option wins over the variable) and gives
// the limits to read with. Throws CliUsageError for a value that is not a whole number from 1 to
// the readers' own limit.
ImageLimits takePixelLimit(std::vector<std::string>& args);
