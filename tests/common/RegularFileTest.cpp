#include "common/RegularFile.h"
#include "common/SettingsFileText.h"

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeAll(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

// A listening-free socket file named `p`.
bool makeSocketFile(const fs::path& p)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string name = p.string();
    if (fd < 0 || name.size() >= sizeof address.sun_path) {
        return false;
    }
    std::copy(name.begin(), name.end(), address.sun_path);
    bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

} // namespace

// A FIFO with no writer would block an ordinary open or read forever: each of these must return
// at once (a hang here fails by the test's timeout).
TEST(RegularFile, RefusesEverythingButRegularFilesWithoutBlocking)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir.path / "pipe").c_str(), 0600), 0);
    ASSERT_TRUE(makeSocketFile(dir.path / "sock"));
    fs::create_directory(dir.path / "folder");
    fs::create_symlink("loop2", dir.path / "loop1");
    fs::create_symlink("loop1", dir.path / "loop2");
    fs::create_symlink("pipe", dir.path / "link-to-pipe");

    struct Case {
        fs::path path;
        FileProblem problem;
        std::string text;
    } cases[] = {
        {dir.path / "pipe", FileProblem::NotRegular, "Not a regular file (a FIFO)"},
        {dir.path / "link-to-pipe", FileProblem::NotRegular, "Not a regular file (a FIFO)"},
        {dir.path / "sock", FileProblem::NotRegular, "Not a regular file (a socket)"},
        {"/dev/zero", FileProblem::NotRegular, "Not a regular file (a device)"},
        {dir.path / "folder", FileProblem::Folder, "Is a directory"},
        {dir.path / "loop1", FileProblem::SymlinkLoop, "Too many levels of symbolic links"},
        {dir.path / "missing", FileProblem::NotFound, "No such file or directory"},
        {dir.path / "folder" / "x" / "y", FileProblem::NotFound, "No such file or directory"},
    };
    for (const Case& c : cases) {
        RegularFileContents got = readRegularFile(c.path, 1 << 20);
        EXPECT_FALSE(got.bytes) << c.path;
        EXPECT_EQ(got.problem, c.problem) << c.path;
        EXPECT_EQ(got.errorText, c.text) << c.path;
    }
    // The settings reader treats a missing file as empty and everything else as unreadable.
    EXPECT_EQ(readSettingsFileText((dir.path / "missing").string()), std::string());
    EXPECT_EQ(readSettingsFileText((dir.path / "pipe").string()), std::nullopt);
    EXPECT_EQ(readSettingsFileText((dir.path / "link-to-pipe").string()), std::nullopt);
}

// /proc/kmsg calls itself a regular file but a read waits until the kernel logs something: once
// its messages are read, the reader must give up instead of waiting (readable by root only).
TEST(RegularFile, AFileWhoseReadWouldWaitIsRefusedAtOnce)
{
    if (::access("/proc/kmsg", R_OK) != 0) {
        GTEST_SKIP() << "/proc/kmsg cannot be read here";
    }
    RegularFileContents got = readRegularFile("/proc/kmsg", 64 << 20);
    EXPECT_FALSE(got.bytes);
    EXPECT_EQ(got.problem, FileProblem::NotRegular);
    EXPECT_EQ(got.errorText, "Not a file that can be read (reading it waits for data)");
    EXPECT_EQ(readSettingsFileText("/proc/kmsg"), std::nullopt);
}

TEST(RegularFile, ReadsWholeFilesUpToTheLimitAndRefusesUnreadableOnes)
{
    TempFolder dir;
    std::string content(100000, '\0');
    for (size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7919 % 251);
    }
    writeAll(dir.path / "data", content);
    writeAll(dir.path / "empty", "");
    EXPECT_EQ(readRegularFile(dir.path / "data", content.size()).bytes, content);
    EXPECT_EQ(readRegularFile(dir.path / "empty", 0).bytes, std::string());

    RegularFileContents big = readRegularFile(dir.path / "data", content.size() - 1);
    EXPECT_FALSE(big.bytes);
    EXPECT_EQ(big.problem, FileProblem::TooLarge);
    EXPECT_EQ(big.errorText, "File too large");

    // Generated files report size 0 but have content: reading goes to the end, limit included.
    EXPECT_NE(readRegularFile("/proc/self/status", 1 << 20).bytes.value_or("").find("Pid:"), std::string::npos);
    EXPECT_EQ(readRegularFile("/proc/self/status", 8).problem, FileProblem::TooLarge);

    fs::path secret = dir.path / "secret";
    writeAll(secret, "x");
    fs::permissions(secret, fs::perms::owner_write);
    bool ok = runAsOrdinaryUser(dir.path, [&] {
        RegularFileContents got = readRegularFile(secret, 10);
        return !got.bytes && got.problem == FileProblem::PermissionDenied && got.errorText == "Permission denied";
    });
    EXPECT_TRUE(ok) << "an unreadable file must be reported as such";
}
