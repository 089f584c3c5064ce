// One table per group of stored settings: each row names a stored value, the field of the group's
// record it fills, and the range or choices a stored number must keep. Reading, writing, range
// checks and defaults are made from the rows, so a stored name is written once in the program.
// The tables together (app/StoredSettings.h lists them) are the names that stored files rely on.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What a stored number outside its range becomes: the default, the nearest end of the range, or
// the range's low end (for values whose lowest number means "none").
enum class OutOfRange { Default, Clamp, Low };

template <class Record> struct SettingRow {
    template <class T> using Field = T& (*)(Record&);

    std::string_view name;
    std::variant<Field<int>, Field<bool>, Field<std::string>, Field<uint32_t>, Field<uint16_t>> field;
    int64_t low = INT32_MIN;
    int64_t high = INT32_MAX;
    std::span<const int> choices = {}; // when not empty, the only numbers accepted
    OutOfRange outOfRange = OutOfRange::Default;
    // Written for readers that know the value only by this name, never read back.
    bool writeOnly = false;

    // A stored number as the field takes it: inside the range and among the choices, otherwise
    // the default (or the nearest end of the range).
    int64_t checked(int64_t stored, int64_t defaultValue) const
    {
        if (stored < low || stored > high) {
            switch (outOfRange) {
            case OutOfRange::Clamp:
                return std::clamp(stored, low, high);
            case OutOfRange::Low:
                return low;
            case OutOfRange::Default:
                break;
            }
            return defaultValue;
        }
        if (!choices.empty() && std::ranges::find(choices, stored) == choices.end()) {
            return defaultValue;
        }
        return stored;
    }
};

template <class Record> using SettingTable = std::span<const SettingRow<Record>>;

template <class Record> std::vector<std::string_view> settingNames(SettingTable<Record> table)
{
    std::vector<std::string_view> names;
    for (const SettingRow<Record>& row : table) {
        names.push_back(row.name);
    }
    return names;
}

// Reads every row through `store` (readInteger, readBoolean and readString with a default, as
// SettingsKey and ProfileSection offer) into a copy of `defaults`. `suffix` follows each name.
template <class Record, class Store>
Record readSettings(const Store& store, SettingTable<Record> table, const Record& defaults,
                    std::string_view suffix = {})
{
    Record record = defaults;
    Record fallback = defaults;
    for (const SettingRow<Record>& row : table) {
        if (row.writeOnly) {
            continue;
        }
        const std::string name = std::string(row.name) + std::string(suffix);
        std::visit(
            [&](auto field) {
                using T = std::remove_reference_t<decltype(field(record))>;
                if constexpr (std::is_same_v<T, bool>) {
                    field(record) = store.readBoolean(name, field(fallback));
                } else if constexpr (std::is_same_v<T, std::string>) {
                    field(record) = store.readString(name, field(fallback));
                } else {
                    const auto defaultValue = static_cast<int64_t>(field(fallback));
                    const int64_t stored = store.readInteger(name, static_cast<int32_t>(defaultValue));
                    field(record) = static_cast<T>(row.checked(stored, defaultValue));
                }
            },
            row.field);
    }
    return record;
}

// Writes every row of `record` through `store` (writeInteger, writeBoolean, writeString).
template <class Record, class Store>
void writeSettings(Store& store, SettingTable<Record> table, const Record& record, std::string_view suffix = {})
{
    Record copy = record;
    for (const SettingRow<Record>& row : table) {
        const std::string name = std::string(row.name) + std::string(suffix);
        std::visit(
            [&](auto field) {
                using T = std::remove_reference_t<decltype(field(copy))>;
                if constexpr (std::is_same_v<T, bool>) {
                    store.writeBoolean(name, field(copy));
                } else if constexpr (std::is_same_v<T, std::string>) {
                    store.writeString(name, field(copy));
                } else {
                    store.writeInteger(name, static_cast<int32_t>(field(copy)));
                }
            },
            row.field);
    }
}
