#include "save/SavePlacement.h"

#include "common/SettingsFile.h"

namespace {

constexpr std::string_view kSection = "Save";

} // namespace

std::optional<ColorRef> parseBackground(const std::string& text)
{
    std::optional<int32_t> value = parseProfileInteger(text);
    if (!value || *value < 0 || *value > 0xFFFFFF) {
        return std::nullopt;
    }
    return static_cast<ColorRef>(*value);
}

SaveWindowPlacement readSavePlacement(const SettingsFile& file, Point defaultTopLeft)
{
    SaveWindowPlacement p;
    p.left = file.readInteger(kSection, "Left", defaultTopLeft.x);
    p.top = file.readInteger(kSection, "Top", defaultTopLeft.y);
    p.width = file.readInteger(kSection, "Width", p.width);
    p.height = file.readInteger(kSection, "Height", p.height);
    p.background = parseBackground(file.readString(kSection, "Background", "")).value_or(kDefaultBackground);
    return p;
}

void writeSavePlacement(SettingsFile& file, const SaveWindowPlacement& p)
{
    file.writeInteger(kSection, "Top", p.top);
    file.writeInteger(kSection, "Left", p.left);
    file.writeInteger(kSection, "Width", p.width);
    file.writeInteger(kSection, "Height", p.height);
    file.writeString(kSection, "Background", std::to_string(p.background));
}
