#include "app/StoredSettings.h"

#include "app/RemoteControlSettings.h"
#include "capture/FrameSettingsIO.h"
#include "common/WindowPlacement.h"
#include "preferences/PreferencesPages.h"
#include "print/PrintSettings.h"
#include "save/SaveSettings.h"

namespace {

template <class Record> std::vector<std::string> namesOf(SettingTable<Record> table, std::string_view suffix = {})
{
    std::vector<std::string> names;
    for (std::string_view name : settingNames(table)) {
        names.push_back(std::string(name) + std::string(suffix));
    }
    return names;
}

std::vector<std::string> variantNames()
{
    std::vector<std::string> names;
    for (int n = 1; n <= kVariantCount; ++n) {
        std::vector<std::string> variant = namesOf(variantSettingsTable(), std::to_string(n));
        names.insert(names.end(), variant.begin(), variant.end());
    }
    return names;
}

} // namespace

std::vector<StoredSettingGroup> storedSettingGroups()
{
    constexpr std::string_view kHive = "user hive";
    return {
        {"Remote Control", kHive, namesOf(remoteControlSettingsTable())},
        {"Preferences pages", kHive, namesOf(preferencesPagesTable())},
        {"Capture Frame", kHive, namesOf(frameSettingsTable())},
        {"Save As variants", kHive, variantNames()},
        {"Save As", kHive, namesOf(saveAsSettingsTable())},
        {"Image Editor placement", "[Edit]", namesOf(windowPlacementTable())},
        {"Save As placement", "[Save]", namesOf(windowPlacementTable())},
        {"Print Preview placement", "[Print]", namesOf(windowPlacementTable())},
        {"Print Preview", "[Print]", namesOf(printSettingsTable())},
    };
}
