// Reads a settings file (a hive or an .ini file) whole, refusing what cannot be a settings file,
// and replaces it.
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

// Replaces the file with `text`: atomically (a temporary file renamed over it) where the folder
// takes new files; where only the file itself is writable (a folder of another owner, say), by
// rewriting it in place. Creates missing folders. Throws ZentrapError with the system's error
// text when neither is possible (a read-only file or mount, a full disk); the file is then left
// as it was, except that a full disk met while rewriting in place leaves it cut short.
void writeSettingsFileText(const std::string& path, const std::string& text);
