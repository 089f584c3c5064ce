#include "common/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kWouldWaitText = "Not a file that can be read (reading it waits for data)";

FileProblem problemOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileProblem::NotFound;
    case EISDIR:
        return FileProblem::Folder;
    case EACCES:
    case EPERM:
        return FileProblem::PermissionDenied;
    case ELOOP:
        return FileProblem::SymlinkLoop;
    case EFBIG:
    case EOVERFLOW:
        return FileProblem::TooLarge;
    default:
        return FileProblem::ReadFailed;
    }
}

// What a file of this mode is, when it is not a regular file.
const char* typeName(mode_t mode)
{
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a special file";
}

} // namespace

std::string nonRegularFileText(unsigned mode)
{
    return std::string("Not a regular file (") + typeName(static_cast<mode_t>(mode)) + ")";
}

std::string describeFileProblem(FileProblem problem, int systemError)
{
    switch (problem) {
    case FileProblem::None:
        return {};
    case FileProblem::Folder:
        return std::strerror(EISDIR);
    case FileProblem::NotRegular:
        return "Not a regular file";
    case FileProblem::TooLarge:
        return std::strerror(EFBIG);
    default:
        return std::strerror(systemError != 0 ? systemError : EIO);
    }
}

RegularFile::RegularFile(const std::string& path)
{
    // Looking before opening keeps devices closed: opening some of them has effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        fail(problemOf(errno), errno);
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        fail(FileProblem::Folder, EISDIR);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        notRegularText_ = nonRegularFileText(info.st_mode);
        fail(FileProblem::NotRegular, 0);
        return;
    }
    // The name may have been replaced by a FIFO since: O_NONBLOCK keeps the open from waiting
    // for a writer, and fstat tells what was really opened.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        fail(problemOf(errno), errno);
        return;
    }
    if (::fstat(fd_, &info) != 0) {
        fail(problemOf(errno), errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        notRegularText_ = S_ISDIR(info.st_mode) ? "" : nonRegularFileText(info.st_mode);
        fail(S_ISDIR(info.st_mode) ? FileProblem::Folder : FileProblem::NotRegular, 0);
        return;
    }
    // O_NONBLOCK stays: some files that call themselves regular (/proc/kmsg, files of user-space
    // file systems) wait for data on read, and such a file is not one this program can read.
    size_ = static_cast<std::uint64_t>(info.st_size);
}

RegularFile::~RegularFile()
{
    close();
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), problem_(other.problem_), systemError_(other.systemError_), size_(other.size_),
      notRegularText_(std::move(other.notRegularText_))
{
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        problem_ = other.problem_;
        systemError_ = other.systemError_;
        size_ = other.size_;
        notRegularText_ = std::move(other.notRegularText_);
    }
    return *this;
}

void RegularFile::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void RegularFile::fail(FileProblem problem, int error)
{
    close();
    problem_ = problem;
    systemError_ = error;
}

std::string RegularFile::errorText() const
{
    if (problem_ == FileProblem::NotRegular && !notRegularText_.empty()) {
        return notRegularText_;
    }
    return describeFileProblem(problem_, systemError_);
}

std::optional<std::string> RegularFile::readAll(std::uint64_t maxBytes)
{
    if (!isOpen()) {
        return std::nullopt;
    }
    if (size_ > maxBytes) {
        fail(FileProblem::TooLarge, EFBIG);
        return std::nullopt;
    }
    std::string bytes;
    // The size may have changed since fstat (or be 0 for generated files): read to the end, one
    // byte past the limit at most.
    bytes.resize(static_cast<size_t>(size_) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) {
                fail(FileProblem::TooLarge, EFBIG);
                return std::nullopt;
            }
            std::uint64_t cap = maxBytes < SIZE_MAX - 1 ? maxBytes + 1 : SIZE_MAX;
            bytes.resize(static_cast<size_t>(std::min<std::uint64_t>(cap, bytes.size() * 2 + 4096)));
        }
        ssize_t n = ::read(fd_, bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                notRegularText_ = kWouldWaitText;
                fail(FileProblem::NotRegular, 0);
                return std::nullopt;
            }
            fail(FileProblem::ReadFailed, errno);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<size_t>(n);
    }
    if (filled > maxBytes) {
        fail(FileProblem::TooLarge, EFBIG);
        return std::nullopt;
    }
    bytes.resize(filled);
    return bytes;
}

RegularFileContents readRegularFile(const std::string& path, std::uint64_t maxBytes)
{
    RegularFile file(path);
    RegularFileContents result;
    result.bytes = file.readAll(maxBytes);
    result.problem = file.problem();
    result.systemError = file.systemError();
    result.errorText = file.errorText();
    return result;
}
