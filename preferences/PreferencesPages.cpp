#include "preferences/PreferencesPages.h"

#include "common/SettingsStore.h"
#include "preferences/SkinPicker.h"

#include <optional>

namespace {

// A value that reads alike under two different defaults is really stored.
std::optional<int32_t> readStoredInteger(const SettingsKey& key, const char* name)
{
    const int32_t first = key.readInteger(name, 0);
    return first == key.readInteger(name, 1) ? std::optional(first) : std::nullopt;
}

} // namespace

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
    const std::optional<int32_t> filter = readStoredInteger(key, "SkinFilter");
    const std::optional<int32_t> page = readStoredInteger(key, "OptionsPage");
    if (!filter || !page) {
        skinFilterIndex() = 1;
        return;
    }
    // The filter index is a byte in memory.
    skinFilterIndex() = static_cast<uint8_t>(*filter);
    select(*page);
}

void PreferencesPages::write(SettingsKey& key) const
{
    key.writeInteger("SkinFilter", skinFilterIndex());
    key.writeInteger("OptionsPage", page_);
}

const char* PreferencesPages::helpTopic() const
{
    return page_ == kOptionsPage ? "HTML/Setting the preferences.htm" : "HTML/Hotkeys.htm";
}
