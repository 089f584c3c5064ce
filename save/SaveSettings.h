// The Save As window's persisted values in the settings key: the four variants' values, then
// "ActiveVar" and "SaveDir".
#pragma once

#include "common/SettingTable.h"
#include "save/SaveVariant.h"

#include <string>

class SettingsKey;

struct SaveAsSettings {
    int activeVar = 1;   // a stored 0 becomes 1, above 4 becomes 4
    std::string saveDir; // as stored; empty when missing
};

// A variant's values, each stored under its name followed by the variant number.
SettingTable<SaveVariant> variantSettingsTable();
SettingTable<SaveAsSettings> saveAsSettingsTable();

// Variant n's ten values, each falling back to its own default when missing. A value outside
// its range (an edited settings file) takes its default too, except the format code, which is
// kept as read: a pane with an unknown code stays unencoded.
SaveVariant readVariantSettings(const SettingsKey& key, int n);
void writeVariantSettings(SettingsKey& key, const SaveVariant& variant);

SaveAsSettings readSaveAsSettings(const SettingsKey& key);
void writeSaveAsSettings(SettingsKey& key, const SaveAsSettings& settings);
