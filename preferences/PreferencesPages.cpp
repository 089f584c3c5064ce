#include "preferences/PreferencesPages.h"

#include "common/SettingField.h"
#include "common/SettingsStore.h"
#include "preferences/SkinPicker.h"

namespace {

const SettingRow<StoredPreferencesPages> kRows[] = {
    {"SkinFilter", settingField<&StoredPreferencesPages::skinFilter>},
    {"OptionsPage", settingField<&StoredPreferencesPages::page>},
};

} // namespace

SettingTable<StoredPreferencesPages> preferencesPagesTable()
{
    return kRows;
}

bool PreferencesPages::select(int page)
{
    // Only the Options and Hotkeys pages exist; any other stored number leaves the page as it is.
    if (page == page_ || (page != kOptionsPage && page != kHotkeysPage)) {
        return false;
    }
    page_ = page;
    return true;
}

void PreferencesPages::read(const SettingsKey& key)
{
    page_ = kOptionsPage;
    // A value that reads alike under two different defaults is really stored.
    const StoredPreferencesPages withZeros =
        readSettings(key, preferencesPagesTable(), StoredPreferencesPages{.skinFilter = 0, .page = 0});
    const StoredPreferencesPages withOnes =
        readSettings(key, preferencesPagesTable(), StoredPreferencesPages{.skinFilter = 1, .page = 1});
    if (withZeros.skinFilter != withOnes.skinFilter || withZeros.page != withOnes.page) {
        skinFilterIndex() = StoredPreferencesPages{}.skinFilter;
        return;
    }
    // The filter index is a byte in memory.
    skinFilterIndex() = static_cast<uint8_t>(withZeros.skinFilter);
    select(withZeros.page);
}

void PreferencesPages::write(SettingsKey& key) const
{
    writeSettings(key, preferencesPagesTable(), StoredPreferencesPages{.skinFilter = skinFilterIndex(), .page = page_});
}

const char* PreferencesPages::helpTopic() const
{
    return page_ == kOptionsPage ? "HTML/Setting the preferences.htm" : "HTML/Hotkeys.htm";
}
