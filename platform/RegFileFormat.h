// The registry-export text format (REGEDIT4) that hive files use: parsing and writing.
#pragma once

#include "common/RegistryHive.h"
#include "platform/FoldedNameTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The keys of one hive in the order they were first seen, each with its values in order. Names
// and data stay in the text they were read from, values as the file writes them and read when
// asked for, with flat indexes beside it: the contents of a hive file of many tiny keys take about
// two and a half times the file.
class RegContents {
public:
    RegContents() = default;

    // Exactly this key, or one below it, is present.
    bool keyExists(std::string_view path) const;
    // Exactly this key is present.
    bool hasKey(std::string_view path) const { return findKey(path).has_value(); }
    void createKey(std::string_view path);
    std::optional<RegValue> value(std::string_view path, std::string_view name) const;
    // Replaces a value of the same name in place, otherwise appends it; the key must exist.
    bool setValue(std::string_view path, std::string_view name, const RegValue& value);

    size_t keyCount() const { return keys_.size(); }
    // The path of the key numbered `key` (in the order first seen), without the hive's root.
    std::string_view keyPath(size_t key) const { return view(keys_[key].path); }
    // Calls visit(name, value) for each value of the key numbered `key`, in order.
    template <class Visit> void forEachValue(size_t key, Visit visit) const
    {
        for (uint32_t v = keys_[key].firstValue; v != kNone; v = values_[v].next) {
            visit(view(values_[v].name), dataValue(view(values_[v].data)));
        }
    }

    // The text the contents were read from (a UTF-16 file's as UTF-8), leaving the contents empty.
    std::string takeText();
    const std::string& text() const { return text_; }

private:
    friend RegContents parseRegFile(std::string bytes);

    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kAdded = 1u << 31; // a span's offset into added_ rather than text_

    struct Span {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    struct Key {
        Span path;
        uint32_t firstValue = kNone;
        uint32_t lastValue = kNone;
    };
    struct Value {
        Span name;
        Span data; // as written after '=' in a file, continuation lines joined
        uint32_t next = kNone;
    };

    void read(size_t start);
    std::string_view view(Span span) const;
    // `part` within text_, or a copy of it in added_.
    Span spanOf(std::string_view part);
    static RegValue dataValue(std::string_view data);
    std::optional<uint32_t> findKey(std::string_view path) const;
    uint32_t keyFor(Span path);
    std::optional<uint32_t> findValue(uint32_t key, std::string_view name) const;
    void store(uint32_t key, Span name, Span data);

    std::string text_;
    std::string added_; // names, paths and data that are not in text_
    std::vector<Key> keys_;
    std::vector<Value> values_;
    FoldedNameTable keyIndex_;
    // The values by name of each key that has kIndexedValues or more, so that a key with many
    // values loads in linear time; fewer are looked up one by one.
    static constexpr size_t kIndexedValues = 8;
    std::unordered_map<uint32_t, FoldedNameTable> valueIndexes_;
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

// Reads a hive file's bytes (UTF-8, or UTF-16LE with its byte-order mark), keeping them. Sections
// must name a root ("[HKEY_CURRENT_USER\\...]"); the root itself is dropped. Lines that cannot be
// understood and values that cannot be read (bad numbers, unterminated strings) are skipped.
RegContents parseRegFile(std::string bytes);

// The file text with every key under `rootName`.
std::string formatRegFile(const RegContents& contents, std::string_view rootName);

// Makes one change to parsed contents.
void applyRegChange(RegContents& contents, const RegChange& change);
