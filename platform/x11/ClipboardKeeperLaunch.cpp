#include "platform/x11/ClipboardKeeperLaunch.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <unistd.h>

extern char** environ;

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd)
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

private:
    int fd_;
};

std::string systemError(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

// Above the descriptors the child gets, so that moving them there never meets one of them.
int highDescriptor(int fd)
{
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
    ::close(fd);
    return moved;
}

bool writeAll(int fd, std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return true;
}

// What the keeper reports, read until it closes its end or the time is up.
std::string readReport(int fd, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string report;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return report.empty() ? "no answer from the keeper" : report;
        }
        pollfd descriptor{fd, POLLIN, 0};
        if (::poll(&descriptor, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return systemError("poll", errno);
        }
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            report.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            return report.empty() ? "the keeper ended at once" : report;
        } else if (errno != EINTR && errno != EAGAIN) {
            return systemError("read", errno);
        }
    }
}

} // namespace

std::string startClipboardKeeper(const std::string& program, std::span<const uint8_t> png,
                                 std::chrono::milliseconds limit, pid_t* started)
{
    Descriptor picture(::memfd_create("zentrap-clipboard", MFD_CLOEXEC));
    if (picture.get() < 0) {
        return systemError("memfd_create", errno);
    }
    if (!writeAll(picture.get(), png)) {
        return systemError("write", errno);
    }
    picture.reset(highDescriptor(picture.release()));
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return systemError("pipe", errno);
    }
    Descriptor reportRead(highDescriptor(ends[0]));
    Descriptor reportWrite(highDescriptor(ends[1]));
    if (picture.get() < 0 || reportRead.get() < 0 || reportWrite.get() < 0) {
        return systemError("fcntl", errno);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, picture.get(), kKeeperPictureDescriptor);
    posix_spawn_file_actions_adddup2(&actions, reportWrite.get(), kKeeperReportDescriptor);
    // Nothing of the program's outputs: a keeper holding a pipe open would keep its reader waiting.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, kKeeperReportDescriptor + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: the terminal's hang-up and interrupt are not meant for it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        return systemError(program.c_str(), spawned);
    }
    if (started != nullptr) {
        *started = pid;
    }
    reportWrite.reset(-1);
    const std::string report = readReport(reportRead.get(), limit);
    return report == "ok" ? std::string() : report;
}
