#include "common/SettingsFileText.h"

#include "common/AtomicFile.h"
#include "common/RegularFile.h"
#include "common/ZentrapError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

std::optional<std::string> readSettingsFileText(const std::string& path)
{
    RegularFileContents contents = readRegularFile(path, kMaxSettingsFileBytes);
    if (contents.problem == FileProblem::NotFound) {
        return std::string();
    }
    return std::move(contents.bytes);
}

namespace {

bool onlyTheFileIsWritable(const std::string& path)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return ::access(folder.c_str(), W_OK) != 0 && ::access(path.c_str(), W_OK) == 0;
}

void rewriteInPlace(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        throw ZentrapError(std::strerror(errno));
    }
    size_t done = 0;
    bool ok = true;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        done += ok ? static_cast<size_t>(n) : 0;
    }
    ok = ok && ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) {
        throw ZentrapError(std::strerror(error));
    }
}

} // namespace

void writeSettingsFileText(const std::string& path, const std::string& text)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    try {
        writeFileAtomically(path, [&](ByteSink& sink) { sink.write(text.data(), text.size()); });
    } catch (const ZentrapError&) {
        if (!onlyTheFileIsWritable(path)) {
            throw;
        }
        rewriteInPlace(path, text);
    }
}
