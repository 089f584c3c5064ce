// The registry-export text format (REGEDIT4) that hive files use: parsing and writing.
#pragma once

#include "common/RegistryHive.h"
#include "platform/FoldedNameTable.h"

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
    bool setValue(std::string_view path, std::string_view name, RegValue value);

    const std::vector<Key>& keys() const { return keys_; }

private:
    Key* findKeyMutable(std::string_view path);
    std::optional<size_t> findValue(size_t key, std::string_view name) const;

    // Flat indexes rather than a node per key, so that a hive of many tiny keys takes memory in
    // proportion to its text.
    std::vector<Key> keys_;
    FoldedNameTable keyIndex_;
    // Per key, its values by name once it has kIndexedValues of them, so that a key with many
    // values loads in linear time; fewer are looked up one by one.
    static constexpr size_t kIndexedValues = 8;
    std::vector<FoldedNameTable> valueIndexByKey_;
};

// One change made through a hive: a key created (no name) or a value set.
struct RegChange {
    std::string key;
    std::optional<std::string> name;
    RegValue value;
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

// The hive file `bytes` with `changes` made to it, every line that Zentrap does not change kept in
// its place: comments, key deletions, lines that cannot be read and other programs' values. A
// value is replaced where its name last stands (the occurrence that counts, or a line whose data
// could not be read); a new value goes after the last line of its key's last section; a new key becomes a section at
// the end. New lines follow the file's line ends. A file in UTF-16 comes back in UTF-8.
// Makes one change to parsed contents.
void applyRegChange(RegContents& contents, const RegChange& change);

struct RegFileEdit {
    std::string text;
    RegContents contents; // what `text` holds
};
RegFileEdit applyRegChanges(std::string_view bytes, const std::vector<RegChange>& changes, std::string_view rootName);
