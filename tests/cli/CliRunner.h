// Runs the real zentrap-cli with arguments passed as bytes (no shell), collecting its exit code,
// standard output and error, and its peak memory; a run that does not end in time is killed.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct CliRun {
    int exitCode = -1; // -1: killed or did not start
    std::string out;
    std::string err;
    long peakKilobytes = 0;
    bool timedOut = false;
};

inline std::string cliPath()
{
    return std::string(ZENTRAP_BIN_DIR) + "/zentrap-cli";
}

inline CliRun runCli(const std::vector<std::string>& args, int timeoutSeconds = 60)
{
    CliRun run;
    if (!std::filesystem::exists(cliPath())) {
        ADD_FAILURE() << "zentrap-cli is missing: " << cliPath();
        return run;
    }
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe";
        return run;
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        std::string program = cliPath();
        std::vector<char*> argv{program.data()};
        std::vector<std::string> copies = args;
        for (std::string& a : copies) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* into[2] = {&run.out, &run.err};
    int open = 2;
    const time_t deadline = ::time(nullptr) + timeoutSeconds;
    while (open > 0) {
        int left = static_cast<int>(deadline - ::time(nullptr));
        if (left <= 0 || ::poll(fds, 2, left * 1000) == 0) {
            run.timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP))) {
                char buffer[4096];
                ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    into[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    for (pollfd& f : fds) {
        if (f.fd >= 0) {
            ::close(f.fd);
        }
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.peakKilobytes = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
