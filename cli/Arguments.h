// The one number syntax of every zentrap-cli option: optional minus sign and decimal digits,
// nothing else (no plus sign, spaces, hexadecimal or trailing text).
#pragma once

#include <string_view>
#include <vector>

// Throws CliUsageError naming `option` when `text` is not a whole number from `low` to `high`.
int parseWholeNumber(std::string_view text, std::string_view option, int low, int high);

// `count` comma-separated whole numbers, each from `low` to `high` ("X,Y" or "X,Y,W,H").
std::vector<int> parseNumberList(std::string_view text, std::string_view option, size_t count, int low, int high);

// Throws CliUsageError unless the file name ends in an extension the picture writers know
// (those of the format table, and .ppm where `ppmToo`).
void requireImageExtension(const std::string& path, bool ppmToo = false);
