#include "common/WindowPlacement.h"

#include "common/PlacementCorrection.h"
#include "common/SettingField.h"
#include "common/SettingsFile.h"

#include <algorithm>

namespace {

// Written in this order: position and size, then the colour.
const SettingRow<WindowPlacement> kPlacementRows[] = {
    positionRow<WindowPlacement>(PositionAxis::Top, settingField<&WindowPlacement::top>),
    positionRow<WindowPlacement>(PositionAxis::Left, settingField<&WindowPlacement::left>),
    {"Width",
     settingField<&WindowPlacement::width>,
     -kStoredCoordinateLimit,
     kStoredCoordinateLimit,
     {},
     OutOfRange::Clamp},
    {"Height",
     settingField<&WindowPlacement::height>,
     -kStoredCoordinateLimit,
     kStoredCoordinateLimit,
     {},
     OutOfRange::Clamp},
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
