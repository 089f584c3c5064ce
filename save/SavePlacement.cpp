#include "save/SavePlacement.h"

#include "common/WindowPlacement.h"

namespace {

constexpr std::string_view kSection = "Save";

} // namespace

SaveWindowPlacement readSavePlacement(const SettingsFile& file, Point defaultTopLeft)
{
    SaveWindowPlacement defaults;
    WindowPlacement p = readWindowPlacement(
        file, kSection, {defaultTopLeft.x, defaultTopLeft.y, defaults.width, defaults.height, defaults.background});
    return {p.left, p.top, p.width, p.height, p.background};
}

void writeSavePlacement(SettingsFile& file, const SaveWindowPlacement& p)
{
    writeWindowPlacement(file, kSection, {p.left, p.top, p.width, p.height, p.background});
}
