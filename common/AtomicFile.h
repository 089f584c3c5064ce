// Writes a file so that it is either complete or untouched: a temporary file in the same folder,
// flushed, then renamed over the target.
#pragma once

#include "common/ByteSink.h"

#include <functional>
#include <string>

// Calls `produce` with a sink on a temporary file beside `path`, then renames it over `path`.
// Any failure (of `produce` too) removes the temporary file, leaves `path` as it was and throws
// ZentrapError with the system's error text (or `produce`'s own exception).
void writeFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce);
