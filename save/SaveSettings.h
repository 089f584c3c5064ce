// The Save As window's persisted values: the four variants, "ActiveVar" and "SaveDir" in the
// settings key.
#pragma once

#include "save/SaveVariant.h"

#include <string>

class SettingsKey;

// Variant n's ten values, each falling back to its own default when missing. A value outside
// its range (an edited settings file) takes its default too, except the format code, which is
// kept as read: a pane with an unknown code stays unencoded.
SaveVariant readVariantSettings(const SettingsKey& key, int n);
void writeVariantSettings(SettingsKey& key, const SaveVariant& variant);

// "ActiveVar": 1 when missing; 0 becomes 1, above 4 becomes 4.
int readActiveVar(const SettingsKey& key);
void writeActiveVar(SettingsKey& key, int activeVar);

// "SaveDir" as stored; empty when missing.
std::string readStoredSaveDir(const SettingsKey& key);
void writeSaveDir(SettingsKey& key, const std::string& folder);
