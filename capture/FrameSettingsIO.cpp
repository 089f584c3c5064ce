#include "capture/FrameSettingsIO.h"

#include "common/SettingsStore.h"

FrameSettings readFrameSettings(const SettingsKey& key, const FrameDesktop& screens, int borderWidth)
{
    FrameSettings defaults = defaultFrameSettings(screens);
    FrameSettings stored;
    stored.left = key.readInteger("CropLeft", defaults.left);
    stored.top = key.readInteger("CropTop", defaults.top);
    stored.width = key.readInteger("CropWidth", defaults.width);
    stored.height = key.readInteger("CropHeight", defaults.height);
    stored.units = key.readInteger("FUnits", defaults.units);
    return correctedFrameSettings(stored, screens, borderWidth);
}

void writeFrameSettings(SettingsKey& key, const FrameSettings& settings)
{
    key.writeInteger("CropLeft", settings.left);
    key.writeInteger("CropTop", settings.top);
    key.writeInteger("CropWidth", settings.width);
    key.writeInteger("CropHeight", settings.height);
    key.writeInteger("FUnits", settings.units);
}
