#include "save/SaveSettings.h"

#include "common/SettingField.h"
#include "common/SettingsStore.h"

#include <array>

namespace {

constexpr std::array<int, 6> kColorCounts = {8, 16, 32, 64, 128, 256};

// Each name is stored once per variant, followed by its number 1-4. The format code has no
// range: a pane with an unknown code stays unencoded.
const SettingRow<SaveVariant> kVariantRows[] = {
    {"Fmt", settingField<&SaveVariant::Fmt>},
    {"JPEGCompressionQuality", settingField<&SaveVariant::JPEGCompressionQuality>, 1, 100},
    {"JPEGProgressiveEncoding", settingField<&SaveVariant::JPEGProgressiveEncoding>},
    {"GIFColorReduction", settingField<&SaveVariant::GIFColorReduction>, 1, 8},
    {"GIFColorResolution", settingField<&SaveVariant::GIFColorResolution>, 8, 256, kColorCounts},
    {"GIFDitherMode", settingField<&SaveVariant::GIFDitherMode>, 0, 6},
    {"GIFCompression", settingField<&SaveVariant::GIFCompression>, 0, 1},
    {"GIFIsTransparent", settingField<&SaveVariant::GIFIsTransparent>},
    {"GIFTransparentPixelX", settingField<&SaveVariant::GIFTransparentPixelX>},
    {"GIFTransparentPixelY", settingField<&SaveVariant::GIFTransparentPixelY>},
};

const SettingRow<SaveAsSettings> kSaveAsRows[] = {
    {"ActiveVar", settingField<&SaveAsSettings::activeVar>, 1, kVariantCount, {}, OutOfRange::Clamp},
    {"SaveDir", settingField<&SaveAsSettings::saveDir>},
};

} // namespace

SettingTable<SaveVariant> variantSettingsTable()
{
    return kVariantRows;
}

SettingTable<SaveAsSettings> saveAsSettingsTable()
{
    return kSaveAsRows;
}

SaveVariant readVariantSettings(const SettingsKey& key, int n)
{
    return readSettings(key, variantSettingsTable(), SaveVariant::withDefaults(n), std::to_string(n));
}

void writeVariantSettings(SettingsKey& key, const SaveVariant& v)
{
    writeSettings(key, variantSettingsTable(), v, std::to_string(v.number));
}

SaveAsSettings readSaveAsSettings(const SettingsKey& key)
{
    return readSettings(key, saveAsSettingsTable(), SaveAsSettings{});
}

void writeSaveAsSettings(SettingsKey& key, const SaveAsSettings& settings)
{
    writeSettings(key, saveAsSettingsTable(), settings);
}
