#include "save/SaveSettings.h"

#include "common/SettingsStore.h"

#include <algorithm>
#include <array>

namespace {

std::string nameOf(const char* value, int n)
{
    return value + std::to_string(n);
}

int readInRange(const SettingsKey& key, const std::string& name, int defaultValue, int low, int high)
{
    int value = key.readInteger(name, defaultValue);
    return value < low || value > high ? defaultValue : value;
}

int readColorCount(const SettingsKey& key, const std::string& name, int defaultValue)
{
    static constexpr std::array<int, 6> kCounts = {8, 16, 32, 64, 128, 256};
    int value = key.readInteger(name, defaultValue);
    return std::find(kCounts.begin(), kCounts.end(), value) == kCounts.end() ? defaultValue : value;
}

} // namespace

SaveVariant readVariantSettings(const SettingsKey& key, int n)
{
    SaveVariant v = SaveVariant::withDefaults(n);
    v.Fmt = key.readInteger(nameOf("Fmt", n), v.Fmt);
    v.JPEGCompressionQuality = readInRange(key, nameOf("JPEGCompressionQuality", n), v.JPEGCompressionQuality, 1, 100);
    v.JPEGProgressiveEncoding = key.readBoolean(nameOf("JPEGProgressiveEncoding", n), v.JPEGProgressiveEncoding);
    v.GIFColorReduction = readInRange(key, nameOf("GIFColorReduction", n), v.GIFColorReduction, 1, 8);
    v.GIFColorResolution = readColorCount(key, nameOf("GIFColorResolution", n), v.GIFColorResolution);
    v.GIFDitherMode = readInRange(key, nameOf("GIFDitherMode", n), v.GIFDitherMode, 0, 6);
    v.GIFCompression = readInRange(key, nameOf("GIFCompression", n), v.GIFCompression, 0, 1);
    v.GIFIsTransparent = key.readBoolean(nameOf("GIFIsTransparent", n), v.GIFIsTransparent);
    v.GIFTransparentPixelX = key.readInteger(nameOf("GIFTransparentPixelX", n), v.GIFTransparentPixelX);
    v.GIFTransparentPixelY = key.readInteger(nameOf("GIFTransparentPixelY", n), v.GIFTransparentPixelY);
    return v;
}

void writeVariantSettings(SettingsKey& key, const SaveVariant& v)
{
    int n = v.number;
    key.writeInteger(nameOf("Fmt", n), v.Fmt);
    key.writeInteger(nameOf("JPEGCompressionQuality", n), v.JPEGCompressionQuality);
    key.writeBoolean(nameOf("JPEGProgressiveEncoding", n), v.JPEGProgressiveEncoding);
    key.writeInteger(nameOf("GIFColorReduction", n), v.GIFColorReduction);
    key.writeInteger(nameOf("GIFColorResolution", n), v.GIFColorResolution);
    key.writeInteger(nameOf("GIFDitherMode", n), v.GIFDitherMode);
    key.writeInteger(nameOf("GIFCompression", n), v.GIFCompression);
    key.writeBoolean(nameOf("GIFIsTransparent", n), v.GIFIsTransparent);
    key.writeInteger(nameOf("GIFTransparentPixelX", n), v.GIFTransparentPixelX);
    key.writeInteger(nameOf("GIFTransparentPixelY", n), v.GIFTransparentPixelY);
}

int readActiveVar(const SettingsKey& key)
{
    return std::clamp(key.readInteger("ActiveVar", 1), 1, kVariantCount);
}

void writeActiveVar(SettingsKey& key, int activeVar)
{
    key.writeInteger("ActiveVar", activeVar);
}

std::string readStoredSaveDir(const SettingsKey& key)
{
    return key.readString("SaveDir", "");
}

void writeSaveDir(SettingsKey& key, const std::string& folder)
{
    key.writeString("SaveDir", folder);
}
