// Runs a check as an ordinary user, so that file permissions apply even when the tests run as root.
#pragma once

#include <filesystem>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

// Root ignores file permissions: as root, `body` runs in a child process as the user "nobody"
// (uid and gid 65534), who is given `folder` first. True when `body` returned true.
inline bool runAsOrdinaryUser(const std::filesystem::path& folder, const std::function<bool()>& body)
{
    if (::geteuid() != 0) {
        return body();
    }
    constexpr uid_t kNobody = 65534;
    if (::chown(folder.c_str(), kNobody, kNobody) != 0) {
        return false;
    }
    pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        bool ok = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && body();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
