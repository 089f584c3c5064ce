// The size of an encoded file as the Save As window shows it: whole kilobytes below 1 MiB,
// megabytes with two decimals from 1 MiB on, with the user's separators.
#pragma once

#include <cstdint>
#include <string>

// The user's number separators (UTF-8; a locale may use a multi-byte group separator).
struct NumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";
};

// "37 Kb", "1,024 Kb", "1.00 Mb": rounded to the nearest shown digit, halves to the even one.
std::string FormatSize(uint64_t bytes, const NumberSeparators& separators = {});
