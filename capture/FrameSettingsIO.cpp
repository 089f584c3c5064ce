#include "capture/FrameSettingsIO.h"

#include "common/SettingField.h"
#include "common/SettingsStore.h"

namespace {

const SettingRow<FrameSettings> kFrameRows[] = {
    {"CropLeft", settingField<&FrameSettings::left>},   {"CropTop", settingField<&FrameSettings::top>},
    {"CropWidth", settingField<&FrameSettings::width>}, {"CropHeight", settingField<&FrameSettings::height>},
    {"FUnits", settingField<&FrameSettings::units>},
};

} // namespace

SettingTable<FrameSettings> frameSettingsTable()
{
    return kFrameRows;
}

FrameSettings readFrameSettings(const SettingsKey& key, const FrameDesktop& screens, int borderWidth)
{
    return correctedFrameSettings(readSettings(key, frameSettingsTable(), defaultFrameSettings(screens)), screens,
                                  borderWidth);
}

void writeFrameSettings(SettingsKey& key, const FrameSettings& settings)
{
    writeSettings(key, frameSettingsTable(), settings);
}
