// Reads a settings file (a hive or an .ini file) whole, refusing what cannot be a settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A settings file larger than this is left alone rather than read into memory.
constexpr std::uintmax_t kMaxSettingsFileBytes = 16u << 20;

// The file's bytes; empty text when it does not exist; nothing when it exists but cannot be read
// completely, is not a regular file or is larger than kMaxSettingsFileBytes (so that it is never
// overwritten with what little could be read). Never blocks: a FIFO or device is refused at once.
std::optional<std::string> readSettingsFileText(const std::string& path);
