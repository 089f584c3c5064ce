// Reads and checks the directory of a compiled HTML help file (.chm) from its bytes, so that only a
// file whose every directory page, entry and decompression table is sound is handed to chmlib, which
// trusts all of them (it loops on page links, divides by table values and reads where they point).
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// One object of the file as its directory lists it.
struct ChmDirectoryEntry {
    std::string path;
    bool compressed = false;
    std::uint64_t start = 0;
    std::uint64_t length = 0;
};

// Thrown for a file that is not a sound .chm; what() says what is wrong in a few words.
class ChmFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest decompressed content accepted; a help file is far smaller.
inline constexpr std::uint64_t kChmMaxContentBytes = 64ull << 20;

// Checks `file` (the whole .chm) and returns its entries in directory order; throws ChmFormatError.
std::vector<ChmDirectoryEntry> ReadChmDirectory(std::span<const std::uint8_t> file);
