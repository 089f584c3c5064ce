#include "save/SaveDir.h"

#include <filesystem>
#include <system_error>

namespace {

bool isExistingFolder(const std::string& folder)
{
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error);
}

std::string withTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

std::string& SaveDir()
{
    // Never destroyed: a lost X connection writes the open Save As window's values from an exit
    // handler, after the statics made later than that handler are gone.
    static auto* saveDir = new std::string;
    return *saveDir;
}

std::string resolveSaveDir(const std::string& stored, const std::string& remembered, const std::string& fallbackFolder)
{
    if (isExistingFolder(stored)) {
        return withTrailingSlash(stored);
    }
    if (isExistingFolder(remembered)) {
        return withTrailingSlash(remembered);
    }
    return withTrailingSlash(fallbackFolder);
}

std::string folderOfFile(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return "./";
    }
    return path.substr(0, slash + 1);
}
