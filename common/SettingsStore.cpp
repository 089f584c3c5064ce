#include "common/SettingsStore.h"

#include "common/RegistryHive.h"

#include <variant>

namespace {

std::optional<RegValue> readValue(const RegistryHive* hive, const std::string& key, std::string_view name)
{
    if (!hive || !hive->keyExists(key)) {
        return std::nullopt;
    }
    return hive->value(key, name);
}

} // namespace

SettingsKey::SettingsKey(RegistryHive& primary, std::string_view key, const RegistryHive* fallback,
                         std::string_view fallbackKey)
    : primary_(primary), key_(key), fallback_(fallback), fallbackKey_(fallbackKey)
{
    primary_.createKey(key_);
}

SettingsKey::~SettingsKey()
{
    primary_.commit();
}

std::optional<uint32_t> SettingsKey::readDword(std::string_view name) const
{
    for (const RegistryHive* hive : {static_cast<const RegistryHive*>(&primary_), fallback_}) {
        const std::string& key = hive == &primary_ ? key_ : fallbackKey_;
        if (auto value = readValue(hive, key, name)) {
            if (const auto* number = std::get_if<uint32_t>(&*value)) {
                return *number;
            }
        }
    }
    return std::nullopt;
}

int32_t SettingsKey::readInteger(std::string_view name, int32_t defaultValue) const
{
    auto number = readDword(name);
    return number ? static_cast<int32_t>(*number) : defaultValue;
}

bool SettingsKey::readBoolean(std::string_view name, bool defaultValue) const
{
    auto number = readDword(name);
    return number ? *number != 0 : defaultValue;
}

std::string SettingsKey::readString(std::string_view name, const std::string& defaultValue) const
{
    auto primaryValue = readValue(&primary_, key_, name);
    const std::string* primaryText = primaryValue ? std::get_if<std::string>(&*primaryValue) : nullptr;
    if (primaryValue && !primaryText) {
        return defaultValue;
    }
    if (primaryText && !primaryText->empty()) {
        return *primaryText;
    }
    if (auto fallbackValue = readValue(fallback_, fallbackKey_, name)) {
        const auto* fallbackText = std::get_if<std::string>(&*fallbackValue);
        return fallbackText ? *fallbackText : defaultValue;
    }
    return primaryText ? *primaryText : defaultValue;
}

void SettingsKey::writeInteger(std::string_view name, int32_t value)
{
    primary_.setValue(key_, name, RegValue(static_cast<uint32_t>(value)));
}

void SettingsKey::writeBoolean(std::string_view name, bool value)
{
    primary_.setValue(key_, name, RegValue(value ? 1u : 0u));
}

void SettingsKey::writeString(std::string_view name, const std::string& value)
{
    primary_.setValue(key_, name, RegValue(value));
}

SettingsStore::SettingsStore(RegistryHive& userHive, const RegistryHive* machineHive)
    : userHive_(userHive), machineHive_(machineHive)
{
}

SettingsKey SettingsStore::open()
{
    return SettingsKey(userHive_, kPrimaryKey);
}

SettingsKey SettingsStore::openWithFallback()
{
    return SettingsKey(userHive_, kPrimaryKey, machineHive_, kFallbackKey);
}

bool SettingsStore::readDragFullWindows() const
{
    auto value = readValue(&userHive_, std::string(kDesktopKey), "DragFullWindows");
    const std::string* text = value ? std::get_if<std::string>(&*value) : nullptr;
    return text && *text == "1";
}
