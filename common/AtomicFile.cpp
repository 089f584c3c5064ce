#include "common/AtomicFile.h"

#include "common/RegularFile.h"
#include "common/ZentrapError.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kTemporaryPrefix = ".zentrap-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr size_t kTemporaryRandomChars = 8;
constexpr std::string_view kNameChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kMaxSymlinkDepth = 40;
// A temporary file untouched this long and locked by no writer is a leftover of a killed save.
constexpr std::chrono::seconds kStaleTemporaryAge{10};

std::string systemError(int error, const std::string& path)
{
    return std::string(std::strerror(error)) + ": " + path;
}

// Buffers writes so that encoders can hand over small pieces cheaply.
class FileDescriptorSink : public ByteSink {
public:
    FileDescriptorSink(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    void write(const void* data, size_t size) override
    {
        const auto* p = static_cast<const uint8_t*>(data);
        if (buffer_.size() + size > kBufferSize) {
            flush();
        }
        if (size >= kBufferSize) {
            writeAll(p, size);
            return;
        }
        buffer_.insert(buffer_.end(), p, p + size);
    }

    void flush()
    {
        writeAll(buffer_.data(), buffer_.size());
        buffer_.clear();
    }

private:
    static constexpr size_t kBufferSize = 1 << 16;

    void writeAll(const uint8_t* p, size_t size)
    {
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw ZentrapError(systemError(errno, path_));
            }
            p += n;
            size -= static_cast<size_t>(n);
        }
    }

    int fd_;
    std::string path_;
    std::vector<uint8_t> buffer_;
};

// A folder opened for the names in it: every link on the way to it is resolved by the kernel.
class FolderHandle {
public:
    FolderHandle() = default;
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FolderHandle& operator=(FolderHandle&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

// Splits "a/b/c" into "a/b" and "c"; a name without a slash lies in `.`.
std::pair<std::string, std::string> splitFolder(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

FolderHandle openFolder(int base, const std::string& folder, const std::string& path)
{
    int fd = ::openat(base, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw ZentrapError(systemError(errno, path));
    }
    return FolderHandle(fd);
}

// The kernel's own rule for links in shared folders (protected_symlinks): in a world-writable
// sticky folder, a link is followed only when it belongs to the user or to the folder's owner, so
// that nobody can plant a link there that redirects another user's save.
void refusePlantedLink(int folder, const struct stat& link, const std::string& path)
{
    struct stat info {};
    if (::fstat(folder, &info) != 0) {
        throw ZentrapError(systemError(errno, path));
    }
    bool shared = (info.st_mode & S_ISVTX) != 0 && (info.st_mode & S_IWOTH) != 0;
    if (shared && link.st_uid != ::geteuid() && link.st_uid != info.st_uid) {
        throw ZentrapError(systemError(EACCES, path));
    }
}

// Where a write to `path` lands: the folder and the name in it after following symbolic links at
// the name (the last one may point to a file that does not exist yet).
struct SaveTarget {
    FolderHandle folder;
    std::string name;
};

SaveTarget resolveTarget(const std::string& path)
{
    auto [folderName, name] = splitFolder(path);
    SaveTarget target{openFolder(AT_FDCWD, folderName, path), name};
    for (int depth = 0; depth <= kMaxSymlinkDepth; ++depth) {
        if (target.name.empty() || target.name == "." || target.name == "..") {
            throw ZentrapError(systemError(EISDIR, path));
        }
        struct stat info {};
        if (::fstatat(target.folder.fd(), target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                return target;
            }
            throw ZentrapError(systemError(errno, path));
        }
        if (!S_ISLNK(info.st_mode)) {
            return target;
        }
        refusePlantedLink(target.folder.fd(), info, path);
        std::vector<char> link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        ssize_t n = ::readlinkat(target.folder.fd(), target.name.c_str(), link.data(), link.size());
        if (n < 0) {
            throw ZentrapError(systemError(errno, path));
        }
        if (static_cast<size_t>(n) == link.size() || n == 0) {
            continue; // the link changed under us: read it again
        }
        auto [linkFolder, linkName] = splitFolder(std::string(link.data(), static_cast<size_t>(n)));
        if (linkFolder != ".") {
            target.folder = openFolder(target.folder.fd(), linkFolder, path);
        }
        target.name = linkName;
    }
    throw ZentrapError(systemError(ELOOP, path));
}

// --- Temporary names ---------------------------------------------------------------------------

std::string randomNameChars()
{
    std::array<unsigned char, kTemporaryRandomChars> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) != static_cast<ssize_t>(bytes.size())) {
        // No entropy yet (early boot): time, process and a counter are unique enough with O_EXCL.
        static std::atomic<unsigned> counter{0};
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        uint64_t mix = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(::getpid()) << 32) ^
                       (static_cast<uint64_t>(counter++) * 0x9E3779B97F4A7C15ull);
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(mix);
            mix = mix * 6364136223846793005ull + 1442695040888963407ull;
            b ^= static_cast<unsigned char>(mix >> 56);
        }
    }
    std::string out;
    for (unsigned char b : bytes) {
        out += kNameChars[b % kNameChars.size()];
    }
    return out;
}

// Creates a new temporary file in `folder`; `mode` is the mode it is created with (the umask
// applies).
// `tempName` gets the file's name in the folder and `tempPath` a path to it that the termination
// handler can use. The file stays locked while it is written: that tells live temporaries from
// the leftovers of a killed process.
int createTemporaryFile(int folder, mode_t mode, std::string& tempName, std::string& tempPath, const std::string& path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = std::string(kTemporaryPrefix) + randomNameChars() + std::string(kTemporarySuffix);
        tempPath = "/proc/self/fd/" + std::to_string(folder) + "/" + tempName;
        int fd = ::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST) {
            throw ZentrapError(systemError(errno, path));
        }
    }
    throw ZentrapError(systemError(EEXIST, path));
}

// --- Signals -----------------------------------------------------------------------------------

// Temporary files being written now, for the termination handler (async-signal-safe reads only).
constexpr size_t kSlots = 16;
std::array<std::atomic<const char*>, kSlots> pendingTemporaries{};

constexpr std::array<int, 3> kTerminationSignals = {SIGTERM, SIGINT, SIGHUP};
std::mutex signalMutex;
int activeWrites = 0;
std::array<bool, kTerminationSignals.size()> handlerInstalled{};

void removeTemporariesAndEnd(int signal)
{
    for (auto& slot : pendingTemporaries) {
        if (const char* path = slot.load()) {
            ::unlink(path);
        }
    }
    // SA_RESETHAND restored the default action: the signal ends the process once this returns.
    ::raise(signal);
}

void ignoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // With SIGXFSZ ignored, a write past the size limit fails with EFBIG and the save reports it.
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            ::signal(SIGXFSZ, SIG_IGN);
        }
    });
}

// Registers a temporary file for the termination handler while it exists. The handler is only
// installed for signals whose action is the default: a program that handles them itself ends
// its saves in its own way.
class TemporaryFileGuard {
public:
    TemporaryFileGuard()
    {
        std::lock_guard lock(signalMutex);
        if (activeWrites++ == 0) {
            installHandlers();
        }
    }

    // Creates the temporary file and registers it, with the termination signals held back in
    // between so that no signal finds it created but unregistered. `tempPath` must outlive the guard.
    int create(int folder, mode_t mode, std::string& tempName, std::string& tempPath, const std::string& path)
    {
        sigset_t termination, previous;
        sigemptyset(&termination);
        for (int signal : kTerminationSignals) {
            sigaddset(&termination, signal);
        }
        ::pthread_sigmask(SIG_BLOCK, &termination, &previous);
        int fd = -1;
        try {
            fd = createTemporaryFile(folder, mode, tempName, tempPath, path);
            publish(tempPath);
        } catch (...) {
            ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            throw;
        }
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return fd;
    }

    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    ~TemporaryFileGuard()
    {
        std::lock_guard lock(signalMutex);
        if (slot_ < kSlots) {
            pendingTemporaries[slot_].store(nullptr);
        }
        if (--activeWrites == 0) {
            restoreHandlers();
        }
    }

private:
    void publish(const std::string& path)
    {
        for (size_t i = 0; i < kSlots; ++i) {
            const char* expected = nullptr;
            if (pendingTemporaries[i].compare_exchange_strong(expected, path.c_str())) {
                slot_ = i;
                break;
            }
        }
    }

    static void installHandlers()
    {
        for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
            struct sigaction current {};
            handlerInstalled[i] = false;
            if (::sigaction(kTerminationSignals[i], nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
                (current.sa_flags & SA_SIGINFO)) {
                continue;
            }
            struct sigaction ours {};
            ours.sa_handler = removeTemporariesAndEnd;
            ours.sa_flags = SA_RESETHAND;
            sigemptyset(&ours.sa_mask);
            handlerInstalled[i] = ::sigaction(kTerminationSignals[i], &ours, nullptr) == 0;
        }
    }

    static void restoreHandlers()
    {
        for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
            struct sigaction current {};
            if (handlerInstalled[i] && ::sigaction(kTerminationSignals[i], nullptr, &current) == 0 &&
                current.sa_handler == removeTemporariesAndEnd) {
                ::signal(kTerminationSignals[i], SIG_DFL);
            }
            handlerInstalled[i] = false;
        }
    }

    size_t slot_ = kSlots;
};

// The checks a direct write would make, and more: never replace a special file by a regular one.
void checkExistingTarget(const SaveTarget& target, const struct stat& info, const std::string& path)
{
    if (S_ISDIR(info.st_mode)) {
        throw ZentrapError(systemError(EISDIR, path));
    }
    if (!S_ISREG(info.st_mode)) {
        throw ZentrapError(nonRegularFileText(info.st_mode) + ": " + path);
    }
    if (::faccessat(target.folder.fd(), target.name.c_str(), W_OK, AT_EACCESS) != 0) {
        throw ZentrapError(systemError(errno, path));
    }
}

// Gives the new file the replaced file's owner (when allowed) and permission bits, without the
// set-ID bits.
void takeOverAttributes(int fd, const struct stat& info)
{
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
        if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
            [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
        }
    }
    ::fchmod(fd, info.st_mode & 0777);
}

void syncFolder(int folder)
{
    int dir = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Temporaries of a killed save: named as ours, regular files of this user, not locked by a live
// writer and untouched for `age` (a writer locks its file at once; the age covers that moment).
bool isStaleTemporary(int folder, const char* name, std::chrono::seconds age)
{
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || info.st_mtime > ::time(nullptr) - static_cast<time_t>(age.count())) {
        return false;
    }
    int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat opened {};
    bool stale = ::fstat(fd, &opened) == 0 && opened.st_ino == info.st_ino && opened.st_dev == info.st_dev &&
                 ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return stale;
}

int removeStaleTemporaries(int folder, std::chrono::seconds age)
{
    int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0) {
            ::close(listing);
        }
        return 0;
    }
    int removed = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (isAtomicFileTemporaryName(entry->d_name) && isStaleTemporary(folder, entry->d_name, age) &&
            ::unlinkat(folder, entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

} // namespace

bool isAtomicFileTemporaryName(std::string_view name)
{
    if (name.size() != kTemporaryPrefix.size() + kTemporaryRandomChars + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    for (char c : name.substr(kTemporaryPrefix.size(), kTemporaryRandomChars)) {
        if (kNameChars.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

int removeStaleTemporaryFiles(const std::string& folder, std::chrono::seconds age)
{
    int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    FolderHandle handle(fd);
    return removeStaleTemporaries(handle.fd(), age);
}

void writeFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce)
{
    ignoreFileSizeSignal();
    SaveTarget target = resolveTarget(path);
    const int folder = target.folder.fd();
    struct stat existing {};
    bool exists = ::fstatat(folder, target.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists) {
        checkExistingTarget(target, existing, path);
    }
    removeStaleTemporaries(folder, kStaleTemporaryAge);
    std::string tempName;
    std::string tempPath;
    // An existing file's content stays private until it has the file's own mode.
    TemporaryFileGuard guard;
    int fd = guard.create(folder, exists ? 0600 : 0666, tempName, tempPath, path);
    try {
        if (exists) {
            takeOverAttributes(fd, existing);
        }
        FileDescriptorSink sink(fd, path);
        produce(sink);
        sink.flush();
        if (::fsync(fd) != 0) {
            throw ZentrapError(systemError(errno, path));
        }
        int closed = ::close(fd);
        fd = -1;
        if (closed != 0) {
            throw ZentrapError(systemError(errno, path));
        }
        if (::renameat(folder, tempName.c_str(), folder, target.name.c_str()) != 0) {
            throw ZentrapError(systemError(errno, path));
        }
    } catch (...) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlinkat(folder, tempName.c_str(), 0);
        throw;
    }
    // Make the rename itself durable.
    syncFolder(folder);
}
