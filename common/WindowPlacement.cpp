#include "common/WindowPlacement.h"

#include "common/PlacementCorrection.h"
#include "common/SettingField.h"
#include "common/SettingsFile.h"

#include <algorithm>

namespace {

// Far beyond any screen, yet a position plus a size stays well inside an int: a stored number
// past it (an edited file) is brought to it before any arithmetic is done with it, and the
// placement correction then brings the window onto a screen.
constexpr int64_t kCoordinateLimit = int64_t{1} << 24;

// Written in this order: position and size, then the colour.
const SettingRow<WindowPlacement> kPlacementRows[] = {
    {"Top", settingField<&WindowPlacement::top>, -kCoordinateLimit, kCoordinateLimit, {}, OutOfRange::Clamp},
    {"Left", settingField<&WindowPlacement::left>, -kCoordinateLimit, kCoordinateLimit, {}, OutOfRange::Clamp},
    {"Width", settingField<&WindowPlacement::width>, -kCoordinateLimit, kCoordinateLimit, {}, OutOfRange::Clamp},
    {"Height", settingField<&WindowPlacement::height>, -kCoordinateLimit, kCoordinateLimit, {}, OutOfRange::Clamp},
    {"Background", settingField<&WindowPlacement::background>, 0, 0xFFFFFF},
};

} // namespace

SettingTable<WindowPlacement> windowPlacementTable()
{
    return kPlacementRows;
}

WindowPlacement readWindowPlacement(const ProfileText& text, std::string_view section, const WindowPlacement& defaults)
{
    return readSettings(ProfileSection(text, section), windowPlacementTable(), defaults);
}

WindowPlacement readWindowPlacement(const SettingsFile& file, std::string_view section, const WindowPlacement& defaults)
{
    return readWindowPlacement(file.read(), section, defaults);
}

void addWindowPlacement(ProfileValues& values, const WindowPlacement& placement)
{
    writeSettings(values, windowPlacementTable(), placement);
}

bool writeWindowPlacement(SettingsFile& file, std::string_view section, const WindowPlacement& p)
{
    ProfileValues values;
    addWindowPlacement(values, p);
    return file.writeStrings(section, values.values);
}

Rect restoredPlacement(const WindowPlacement& stored, Size minimum, const std::vector<Rect>& screens,
                       Point defaultTopLeft)
{
    return correctedPlacement({stored.left, stored.top},
                              {std::max(stored.width, minimum.width), std::max(stored.height, minimum.height)}, screens,
                              defaultTopLeft);
}
