// A window's placement and background colour in one section of the settings file, and where a
// window restored from it goes. Every window that keeps its placement in the settings file goes
// through here, so all read, write and correct it alike.
#pragma once

#include "common/Color.h"
#include "common/Geometry.h"
#include "common/SettingTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SettingsFile;
class ProfileText;
struct ProfileValues;

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    ColorRef background = kDefaultBackground;
};

// Far beyond any screen, yet a position plus a size stays well inside an int: a stored number
// past it (an edited file) is brought to it before any arithmetic is done with it, and the
// placement correction then brings the window onto a screen.
inline constexpr int64_t kStoredCoordinateLimit = int64_t{1} << 24;

// The row of a window's stored position along one axis, "Left" or "Top", for any record that keeps
// one: the window placements in the settings file and the Remote Control's position in the user hive.
enum class PositionAxis { Left, Top };
template <class Record> constexpr SettingRow<Record> positionRow(PositionAxis axis, int& (*field)(Record&))
{
    return {axis == PositionAxis::Left ? "Left" : "Top",
            field,
            -kStoredCoordinateLimit,
            kStoredCoordinateLimit,
            {},
            OutOfRange::Clamp};
}

// The stored values of a window's placement: "Top", "Left", "Width", "Height" and "Background"
// (a colour 0 .. 0xFFFFFF, written as a decimal 0x00BBGGRR value).
SettingTable<WindowPlacement> windowPlacementTable();

// The placement in `section`; each key that is missing or does not read (or a background outside
// the colours) falls back to its value in `defaults`.
WindowPlacement readWindowPlacement(const ProfileText& text, std::string_view section, const WindowPlacement& defaults);
WindowPlacement readWindowPlacement(const SettingsFile& file, std::string_view section,
                                    const WindowPlacement& defaults);
// Writes the placement in one replacement of the file; false when it could not be written.
bool writeWindowPlacement(SettingsFile& file, std::string_view section, const WindowPlacement& placement);
// Adds the placement's values to those a section writes among its own.
void addWindowPlacement(ProfileValues& values, const WindowPlacement& placement);

// Where a window restored from `stored` goes: its size raised to `minimum`, then brought onto the
// screens' available areas (see correctedPlacement), with `defaultTopLeft` as its place when no
// screen shows it.
Rect restoredPlacement(const WindowPlacement& stored, Size minimum, const std::vector<Rect>& screens,
                       Point defaultTopLeft);
