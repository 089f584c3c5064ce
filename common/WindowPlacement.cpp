#include "common/WindowPlacement.h"

#include "common/Rounding.h"
#include "common/SettingsFile.h"

std::optional<ColorRef> parseBackground(const std::string& text)
{
    std::optional<int32_t> value = parseProfileInteger(text);
    if (!value || *value < 0 || *value > 0xFFFFFF) {
        return std::nullopt;
    }
    return static_cast<ColorRef>(*value);
}

WindowPlacement readWindowPlacement(const SettingsFile& file, std::string_view section, const WindowPlacement& defaults)
{
    WindowPlacement p;
    p.left = file.readInteger(section, "Left", defaults.left);
    p.top = file.readInteger(section, "Top", defaults.top);
    p.width = file.readInteger(section, "Width", defaults.width);
    p.height = file.readInteger(section, "Height", defaults.height);
    p.background = parseBackground(file.readString(section, "Background", "")).value_or(defaults.background);
    return p;
}

void writeWindowPlacement(SettingsFile& file, std::string_view section, const WindowPlacement& p)
{
    file.writeInteger(section, "Top", p.top);
    file.writeInteger(section, "Left", p.left);
    file.writeInteger(section, "Width", p.width);
    file.writeInteger(section, "Height", p.height);
    file.writeString(section, "Background", std::to_string(p.background));
}

Size scaledToScreen(Size designed, int pixelsPerInch)
{
    return {static_cast<int>(roundHalfEven(designed.width * static_cast<long double>(pixelsPerInch) / 96)),
            static_cast<int>(roundHalfEven(designed.height * static_cast<long double>(pixelsPerInch) / 96))};
}
