#include "common/SettingsFileText.h"

#include "common/RegularFile.h"

std::optional<std::string> readSettingsFileText(const std::string& path)
{
    RegularFileContents contents = readRegularFile(path, kMaxSettingsFileBytes);
    if (contents.problem == FileProblem::NotFound) {
        return std::string();
    }
    return std::move(contents.bytes);
}
