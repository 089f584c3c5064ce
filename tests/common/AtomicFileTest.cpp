#include "common/AtomicFile.h"
#include "common/ZentrapError.h"

#include "support/ErrorOf.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& target, const std::string& text)
{
    writeFileAtomically(target, [&](ByteSink& s) { s.write(text.data(), text.size()); });
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int temporariesIn(const fs::path& folder)
{
    int count = 0;
    for (const std::string& name : namesIn(folder)) {
        count += isAtomicFileTemporaryName(name) ? 1 : 0;
    }
    return count;
}

mode_t modeOf(const fs::path& p)
{
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(AtomicFile, WritesAndReplacesWholeFiles)
{
    TempFolder dir;
    fs::path target = dir.path / "out.bin";
    writeFileAtomically(target, [](ByteSink& s) { s.write("first", 5); });
    EXPECT_EQ(readWholeFile(target), "first");
    std::string big(200000, 'x');
    writeFileAtomically(target, [&](ByteSink& s) {
        s.write("a", 1);
        s.write(big.data(), big.size());
    });
    EXPECT_EQ(readWholeFile(target), "a" + big);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"out.bin"}) << "no temporary left";
}

TEST(AtomicFile, AFailingProducerLeavesTheTargetAsItWas)
{
    TempFolder dir;
    fs::path target = dir.path / "keep.bin";
    writeFileAtomically(target, [](ByteSink& s) { s.write("precious", 8); });
    EXPECT_THROW(writeFileAtomically(target,
                                     [](ByteSink& s) {
                                         s.write("half", 4);
                                         throw ZentrapError("Color table overflow");
                                     }),
                 ZentrapError);
    EXPECT_EQ(readWholeFile(target), "precious");
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"keep.bin"});
}

TEST(AtomicFile, AMissingFolderReportsTheSystemError)
{
    EXPECT_EQ(errorOf([] { writeText("/nonexistent-folder-zt/x.png", ""); }),
              "No such file or directory: /nonexistent-folder-zt/x.png");
}

// Dotfile setups keep settings behind links: the link's final target is replaced, the links stay.
// A special file under the name is never replaced by a regular file.
TEST(AtomicFile, FollowsSymlinksAndRefusesSpecialFiles)
{
    TempFolder dir;
    fs::create_directories(dir.path / "dotfiles");
    writeText(dir.path / "dotfiles" / "user.reg", "old");
    fs::create_symlink("dotfiles/user.reg", dir.path / "relative");
    fs::create_symlink(dir.path / "relative", dir.path / "chained");
    fs::create_symlink("dotfiles/not-yet", dir.path / "dangling");

    writeText(dir.path / "chained", "new");
    EXPECT_EQ(readWholeFile(dir.path / "dotfiles" / "user.reg"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.path / "chained"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "relative"));
    writeText(dir.path / "dangling", "created");
    EXPECT_TRUE(fs::is_symlink(dir.path / "dangling"));
    EXPECT_EQ(readWholeFile(dir.path / "dotfiles" / "not-yet"), "created");

    ASSERT_EQ(::mkfifo((dir.path / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir.path / "device");
    fs::create_directory(dir.path / "folder");
    fs::create_symlink("loop", dir.path / "loop");
    EXPECT_EQ(errorOf([&] { writeText(dir.path / "fifo", "x"); }),
              "Not a regular file (a FIFO): " + (dir.path / "fifo").string());
    EXPECT_EQ(errorOf([&] { writeText(dir.path / "device", "x"); }),
              "Not a regular file (a device): " + (dir.path / "device").string());
    EXPECT_EQ(errorOf([&] { writeText(dir.path / "folder", "x"); }),
              "Is a directory: " + (dir.path / "folder").string());
    EXPECT_EQ(errorOf([&] { writeText(dir.path / "loop", "x"); }),
              "Too many levels of symbolic links: " + (dir.path / "loop").string());
    EXPECT_TRUE(fs::is_fifo(dir.path / "fifo"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "device"));
    EXPECT_EQ(temporariesIn(dir.path) + temporariesIn(dir.path / "dotfiles"), 0);
}

// In a shared sticky folder such as /tmp, a link that another user planted under the name being
// saved must not redirect the save onto a file of the saving user; links of the user or of the
// folder's owner still work there.
TEST(AtomicFile, ALinkPlantedInASharedStickyFolderIsNotFollowed)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "planting a link as another user needs root";
    }
    TempFolder dir;
    fs::permissions(dir.path, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::path shared = dir.path / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    fs::path precious = dir.path / "precious.reg";
    writeText(precious, "precious");
    fs::create_directory(dir.path / "home");
    ASSERT_TRUE(runAsOrdinaryUser(dir.path / "home",
                                  [&] { return ::symlink(precious.c_str(), (shared / "capture.png").c_str()) == 0; }));

    EXPECT_EQ(errorOf([&] { writeText(shared / "capture.png", "capture"); }),
              "Permission denied: " + (shared / "capture.png").string());
    EXPECT_EQ(readWholeFile(precious), "precious");
    EXPECT_TRUE(fs::is_symlink(shared / "capture.png"));
    EXPECT_EQ(temporariesIn(shared) + temporariesIn(dir.path), 0);

    fs::create_symlink(dir.path / "mine.png", shared / "mine.png");
    writeText(shared / "mine.png", "mine");
    EXPECT_EQ(readWholeFile(dir.path / "mine.png"), "mine");
}

// A save killed with SIGKILL leaves its temporary file; the next save into that folder removes it,
// but never the temporary file of a save still under way, however old, nor another user's.
TEST(AtomicFile, ASaveRemovesTheLeftoversOfKilledSavesInItsFolder)
{
    TempFolder dir;
    auto startSave = [&](const std::string& name) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        if (child == 0) {
            writeFileAtomically(dir.path / name, [&](ByteSink& s) {
                s.write("partial", 7);
                [[maybe_unused]] ssize_t n = ::write(ready[1], "x", 1);
                for (;;) {
                    ::pause();
                }
            });
            ::_exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        return child;
    };
    auto newTemporary = [&](const std::vector<std::string>& before) {
        for (const std::string& name : namesIn(dir.path)) {
            if (isAtomicFileTemporaryName(name) && std::find(before.begin(), before.end(), name) == before.end()) {
                return name;
            }
        }
        return std::string();
    };
    auto makeOld = [&](const std::string& name) {
        timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, (dir.path / name).c_str(), times, 0);
    };

    pid_t killed = startSave("killed.png");
    std::string leftover = newTemporary({});
    ::kill(killed, SIGKILL);
    ::waitpid(killed, nullptr, 0);
    pid_t running = startSave("running.png");
    std::string live = newTemporary({leftover});
    const std::string foreign = ".zentrap-Foreign1.tmp";
    writeText(dir.path / foreign, "another user's");
    ASSERT_EQ(::chown((dir.path / foreign).c_str(), 65534, 65534), 0);
    for (const std::string& name : {leftover, live, foreign}) {
        ASSERT_FALSE(name.empty());
        makeOld(name);
    }

    writeText(dir.path / "next.png", "next");
    std::vector<std::string> names = namesIn(dir.path);
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), leftover), 0) << "the killed save's leftover stays";
    EXPECT_EQ(std::count(names.begin(), names.end(), live), 1) << "a running save lost its file";
    EXPECT_EQ(std::count(names.begin(), names.end(), foreign), 1) << "another user's file was removed";
    EXPECT_EQ(readWholeFile(dir.path / "next.png"), "next");
}

TEST(AtomicFile, KeepsPermissionBitsButNeverSetIdAndRefusesWhatTheUserMayNotWrite)
{
    TempFolder dir;
    fs::path privateFile = dir.path / "private";
    writeText(privateFile, "a");
    fs::permissions(privateFile, fs::perms(0640));
    writeText(privateFile, "b");
    EXPECT_EQ(modeOf(privateFile), 0640u);

    fs::path tool = dir.path / "tool";
    writeText(tool, "a");
    ASSERT_EQ(::chmod(tool.c_str(), 06755), 0);
    writeText(tool, "b");
    EXPECT_EQ(modeOf(tool), 0755u) << "set-user-ID and set-group-ID must not survive a rewrite";

    mode_t mask = ::umask(027);
    writeText(dir.path / "fresh", "a");
    ::umask(mask);
    EXPECT_EQ(modeOf(dir.path / "fresh"), 0640u) << "a new file follows the umask";

    fs::path readOnly = dir.path / "read-only";
    fs::path othersFile = dir.path / "others";
    writeText(othersFile, "root's");
    ASSERT_EQ(::chmod(othersFile.c_str(), 0644), 0);
    bool ok = runAsOrdinaryUser(dir.path, [&] {
        try {
            writeText(readOnly, "mine");
        } catch (...) {
            return false;
        }
        fs::permissions(readOnly, fs::perms(0444));
        std::string own = errorOf([&] { writeText(readOnly, "changed"); });
        std::string foreign = errorOf([&] { writeText(othersFile, "changed"); });
        bool refused =
            own == "Permission denied: " + readOnly.string() && foreign == "Permission denied: " + othersFile.string();
        return refused && readWholeFile(readOnly) == "mine" && readWholeFile(othersFile) == "root's" &&
               temporariesIn(dir.path) == 0;
    });
    EXPECT_TRUE(ok) << "a target the user may not write must be refused as a direct write would be";
}

TEST(AtomicFile, NamesAsLongAsTheFolderAllowsSaveThroughShortTemporaryNames)
{
    TempFolder dir;
    for (size_t length : {249u, 255u}) {
        fs::path target = dir.path / std::string(length, 'n');
        std::vector<std::string> during;
        writeFileAtomically(target, [&](ByteSink& s) {
            during = namesIn(dir.path);
            s.write("ok", 2);
        });
        EXPECT_EQ(readWholeFile(target), "ok") << length;
        EXPECT_EQ(std::count_if(during.begin(), during.end(), isAtomicFileTemporaryName), 1);
    }
    EXPECT_EQ(temporariesIn(dir.path), 0);
}

// With the default action SIGXFSZ would kill the process and leave the temporary file behind.
TEST(AtomicFile, OutgrowingTheFileSizeLimitReportsFileTooLargeAndCleansUp)
{
    TempFolder dir;
    fs::path target = dir.path / "big.png";
    writeText(target, "old");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error = errorOf([&] { writeText(target, std::string(300000, 'x')); });
        bool ok = error == "File too large: " + target.string() && readWholeFile(target) == "old" &&
                  temporariesIn(dir.path) == 0;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status)) : "wrong error or leftovers");
}

TEST(AtomicFile, EndingTheProcessDuringASaveRemovesTheTemporaryFile)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempFolder dir;
        fs::path target = dir.path / "settings.ini";
        writeText(target, "old");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            writeFileAtomically(target, [&](ByteSink& s) {
                s.write(std::string(100000, 'n').data(), 100000);
                [[maybe_unused]] ssize_t n = ::write(ready[1], "x", 1);
                for (;;) {
                    ::pause();
                }
            });
            ::_exit(0);
        }
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(temporariesIn(dir.path), 1);
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "the signal must still end the process";
        EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"settings.ini"}) << "signal " << signal;
        EXPECT_EQ(readWholeFile(target), "old");
    }
}

TEST(AtomicFile, RemovesOnlyItsOwnStaleTemporaryFiles)
{
    TempFolder dir;
    auto makeFile = [&](const std::string& name, int ageSeconds) {
        std::ofstream(dir.path / name) << "x";
        timeval times[2];
        ::gettimeofday(&times[0], nullptr);
        times[0].tv_sec -= ageSeconds;
        times[1] = times[0];
        ::utimes((dir.path / name).c_str(), times);
    };
    makeFile(".zentrap-Ab3dEf9h.tmp", 120);
    makeFile(".zentrap-fresh000.tmp", 5);
    makeFile(".zentrap-tooshort.tmp1", 120);
    makeFile("user.reg.tmp", 120);
    makeFile("user.reg", 120);
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path), 1);
    EXPECT_EQ(namesIn(dir.path), (std::vector<std::string>{".zentrap-fresh000.tmp", ".zentrap-tooshort.tmp1",
                                                           "user.reg", "user.reg.tmp"}));
    EXPECT_EQ(removeStaleTemporaryFiles((dir.path / "missing").string()), 0);
}

// A process killed at random moments while it saves over and over: the target always holds one
// complete version. SIGTERM leaves no temporary file; SIGKILL may, and start-up removes those.
TEST(AtomicFile, KillsDuringSavesLeaveTheOldOrTheNewCompleteFile)
{
    TempFolder dir;
    fs::path target = dir.path / "user.reg";
    const std::string versions[2] = {std::string(256 << 10, 'a'), std::string(384 << 10, 'b')};
    writeText(target, versions[0]);
    std::mt19937 random(12345);
    int kills = 0, torn = 0, termLeftovers = 0, killLeftovers = 0;
    for (int round = 0; round < 100; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                const std::string& text = versions[(i + round) % 2];
                writeFileAtomically(target, [&](ByteSink& s) {
                    for (size_t at = 0; at < text.size(); at += 4096) {
                        s.write(text.data() + at, std::min<size_t>(4096, text.size() - at));
                    }
                });
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + random() % 10000));
        int signal = round % 2 ? SIGTERM : SIGKILL;
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        ++kills;
        std::string now = readWholeFile(target);
        torn += (now == versions[0] || now == versions[1]) ? 0 : 1;
        int left = temporariesIn(dir.path);
        (signal == SIGTERM ? termLeftovers : killLeftovers) += left;
        removeStaleTemporaryFiles(dir.path, std::chrono::seconds(-1));
    }
    std::cout << "kills during saves: " << kills << ", torn files: " << torn
              << ", temporaries left by SIGTERM: " << termLeftovers << ", by SIGKILL: " << killLeftovers
              << " (removed by the start-up sweep)\n";
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(termLeftovers, 0);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"user.reg"});
}
