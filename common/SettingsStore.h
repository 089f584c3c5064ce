// The per-user settings key with typed values, and the read-only machine-wide fallback key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class RegistryHive;

// An open settings key; changes are made durable when it is closed (destroyed). A failed write
// is not reported.
class SettingsKey {
public:
    // Opens `key` in `primary`, creating it; `fallback` (may be null) is only read, and only
    // from `fallbackKey`.
    SettingsKey(RegistryHive& primary, std::string_view key, const RegistryHive* fallback = nullptr,
                std::string_view fallbackKey = {});
    ~SettingsKey();
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    // A missing value, or one stored with another kind, tries the fallback key (when this key
    // was opened with one) and then yields the default. Booleans are true for any non-zero value.
    int32_t readInteger(std::string_view name, int32_t defaultValue) const;
    bool readBoolean(std::string_view name, bool defaultValue) const;
    // A missing or empty string in the primary key reads the fallback; a value of another kind
    // (in either key) gives the default.
    std::string readString(std::string_view name, const std::string& defaultValue) const;

    void writeInteger(std::string_view name, int32_t value);
    void writeBoolean(std::string_view name, bool value);
    void writeString(std::string_view name, const std::string& value);

private:
    std::optional<uint32_t> readDword(std::string_view name) const;

    RegistryHive& primary_;
    std::string key_;
    const RegistryHive* fallback_;
    std::string fallbackKey_;
};

class SettingsStore {
public:
    static constexpr std::string_view kPrimaryKey = "SOFTWARE\\Morvane\\Zentrap";
    static constexpr std::string_view kFallbackKey = "SOFTWARE\\Morvane Software\\Zentrap";
    static constexpr std::string_view kDesktopKey = "Control Panel\\Desktop";

    // `machineHive` may be null (no machine hive); it is never written.
    SettingsStore(RegistryHive& userHive, const RegistryHive* machineHive);

    // Opens the primary key, creating it; no fallback.
    SettingsKey open();
    // The Remote Control's reading at creation: the primary key with the machine-wide fallback.
    SettingsKey openWithFallback();
    // True exactly when "Control Panel\Desktop" holds the string "1" as "DragFullWindows".
    bool readDragFullWindows() const;

private:
    RegistryHive& userHive_;
    const RegistryHive* machineHive_;
};
