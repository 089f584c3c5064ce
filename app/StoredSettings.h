// Every group of stored settings with the table it is read and written from: together they are
// the names that the user hive and the settings file rely on, so none may be renamed.
//   user hive, key SOFTWARE\Morvane\Zentrap: Remote Control (app/RemoteControlSettings.cpp, read
//     with the machine hive's read-only key as fallback), Preferences pages
//     (preferences/PreferencesPages.cpp), Capture Frame (capture/FrameSettingsIO.cpp),
//     Save As variants and Save As (save/SaveSettings.cpp);
//   settings file: window placements (common/WindowPlacement.cpp) in [Edit], [Save] and [Print],
//     the Print Preview's own values (print/PrintSettings.cpp) in [Print].
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct StoredSettingGroup {
    std::string_view group;         // "Capture Frame"
    std::string_view store;         // "user hive" or a section of the settings file, "[Print]"
    std::vector<std::string> names; // as stored (the Save As variants' with their numbers)
};

std::vector<StoredSettingGroup> storedSettingGroups();
