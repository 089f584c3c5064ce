#include "common/SettingsFileText.h"

#include <filesystem>
#include <fstream>
#include <iterator>

std::optional<std::string> readSettingsFileText(const std::string& path)
{
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::string();
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxSettingsFileBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return text;
}
