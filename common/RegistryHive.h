// One registry hive: keys holding typed values (double words and strings).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A value of a kind Zentrap never asks for (binary, expandable string, ...), kept as the text
// that follows '=' in the hive file so that rewriting the hive does not lose it.
struct RegOtherValue {
    std::string data;
    friend bool operator==(const RegOtherValue&, const RegOtherValue&) = default;
};

// A stored value keeps its kind: reading it as another kind fails.
using RegValue = std::variant<uint32_t, std::string, RegOtherValue>;

class RegistryHive {
public:
    virtual ~RegistryHive() = default;

    // Key paths use backslashes ("SOFTWARE\\Morvane\\Zentrap") and match without regard to case;
    // so do value names.
    virtual bool keyExists(std::string_view key) const = 0;
    // Creates the key when it is missing; false when the hive is read-only.
    virtual bool createKey(std::string_view key) = 0;
    virtual std::optional<RegValue> value(std::string_view key, std::string_view name) const = 0;
    // False when the key does not exist or the hive is read-only.
    virtual bool setValue(std::string_view key, std::string_view name, const RegValue& value) = 0;
    // Makes the changes durable (atomically); false when that failed.
    virtual bool flush() = 0;

    // Makes the changes durable, unless a batch holds them back to land with later ones.
    bool commit() { return held_ > 0 || flush(); }
    void hold() { ++held_; }
    // Ends a hold; the last one makes everything written meanwhile durable at once.
    bool release() { return --held_ > 0 || flush(); }

private:
    int held_ = 0;
};

// From begin() to end() (or its destruction) every commit of the hive waits, so that the values
// written meanwhile by several windows land in one write: an end of the process at any moment
// leaves the file with all of the old values or all of the new ones.
class HiveWriteBatch {
public:
    explicit HiveWriteBatch(RegistryHive& hive) : hive_(hive) {}
    ~HiveWriteBatch() { end(); }
    HiveWriteBatch(const HiveWriteBatch&) = delete;
    HiveWriteBatch& operator=(const HiveWriteBatch&) = delete;

    void begin()
    {
        if (!active_) {
            active_ = true;
            hive_.hold();
        }
    }
    // False when the write failed.
    bool end()
    {
        if (!active_) {
            return true;
        }
        active_ = false;
        return hive_.release();
    }

private:
    RegistryHive& hive_;
    bool active_ = false;
};
