// The registry-export text format (REGEDIT4) that hive files use: parsing and writing.
#pragma once

#include "common/RegistryHive.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The keys of one hive in the order they were first seen, each with its values in order.
class RegContents {
public:
    struct Key {
        std::string path; // without the hive's root, e.g. "SOFTWARE\\Morvane\\Zentrap"
        std::vector<std::pair<std::string, RegValue>> values;
    };

    // Exactly this key, or one below it, is present.
    bool keyExists(std::string_view path) const;
    const Key* findKey(std::string_view path) const;
    Key& createKey(std::string_view path);
    std::optional<RegValue> value(std::string_view path, std::string_view name) const;
    // Replaces a value of the same name in place, otherwise appends it; the key must exist.
    bool setValue(std::string_view path, std::string_view name, const RegValue& value);

    const std::vector<Key>& keys() const { return keys_; }

private:
    Key* findKeyMutable(std::string_view path);

    std::vector<Key> keys_;
    std::unordered_map<std::string, size_t> indexByFoldedPath_;
};

// ASCII case folding: key and value names compare like this.
std::string foldCase(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Reads a hive file's bytes (UTF-8, or UTF-16LE with its byte-order mark). Sections must name a
// root ("[HKEY_CURRENT_USER\\...]"); the root itself is dropped. Lines that cannot be understood
// and values that cannot be read (bad numbers, unterminated strings) are skipped.
RegContents parseRegFile(std::string_view bytes);

// The file text with every key under `rootName`.
std::string formatRegFile(const RegContents& contents, std::string_view rootName);
