#include "common/WindowPlacement.h"

#include "common/PlacementCorrection.h"
#include "common/Rounding.h"
#include "common/SettingsFile.h"

#include <algorithm>

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

std::vector<std::pair<std::string, std::string>> positionAndSizeValues(const WindowPlacement& p)
{
    return {{"Top", std::to_string(p.top)},
            {"Left", std::to_string(p.left)},
            {"Width", std::to_string(p.width)},
            {"Height", std::to_string(p.height)}};
}

bool writeWindowPlacement(SettingsFile& file, std::string_view section, const WindowPlacement& p)
{
    std::vector<std::pair<std::string, std::string>> values = positionAndSizeValues(p);
    values.emplace_back("Background", std::to_string(p.background));
    return file.writeStrings(section, values);
}

Rect restoredPlacement(const WindowPlacement& stored, Size minimum, const std::vector<Rect>& screens,
                       Point defaultTopLeft)
{
    return correctedPlacement({stored.left, stored.top},
                              {std::max(stored.width, minimum.width), std::max(stored.height, minimum.height)}, screens,
                              defaultTopLeft);
}

Size scaledToScreen(Size designed, int pixelsPerInch)
{
    return {static_cast<int>(roundHalfEven(designed.width * static_cast<long double>(pixelsPerInch) / 96)),
            static_cast<int>(roundHalfEven(designed.height * static_cast<long double>(pixelsPerInch) / 96))};
}
