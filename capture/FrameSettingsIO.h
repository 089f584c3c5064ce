// Reading and writing the Capture Frame's stored bounds and unit in the settings key.
#pragma once

#include "capture/FrameGeometry.h"
#include "common/SettingTable.h"

class SettingsKey;

// "CropLeft", "CropTop", "CropWidth", "CropHeight" and "FUnits".
SettingTable<FrameSettings> frameSettingsTable();

// Reads "CropLeft", "CropTop", "CropWidth", "CropHeight" and "FUnits" in that order, each with its
// default when missing or unreadable, then applies the corrections.
FrameSettings readFrameSettings(const SettingsKey& key, const FrameDesktop& screens, int borderWidth);
void writeFrameSettings(SettingsKey& key, const FrameSettings& settings);
