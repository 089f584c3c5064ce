#include "platform/FileRegistryHive.h"

#include "common/SettingsFileText.h"
#include "common/SettingsStore.h"
#include "common/SettingsWriteNotice.h"

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeAll(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

} // namespace

TEST(FileRegistryHive, AMissingFileIsEmptyAndFlushCreatesItsFolderAndFile)
{
    TempFolder dir;
    fs::path file = dir.path / "zentrap" / "user.reg";
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    EXPECT_FALSE(hive.keyExists("SOFTWARE"));
    EXPECT_FALSE(hive.setValue("SOFTWARE\\X", "A", 1u)) << "the key must exist";
    EXPECT_TRUE(hive.createKey("SOFTWARE\\X"));
    EXPECT_TRUE(hive.setValue("software\\x", "A", 5u));
    EXPECT_TRUE(hive.flush());
    EXPECT_EQ(readWholeFile(file), "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\X]\n\"A\"=dword:00000005\n\n");

    FileRegistryHive again(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    EXPECT_EQ(again.value("SOFTWARE\\X", "a"), RegValue(5u));
}

TEST(FileRegistryHive, AReadOnlyHiveIsNeverWritten)
{
    TempFolder dir;
    fs::path file = dir.path / "machine.reg";
    std::string original = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"A\"=dword:00000001\n";
    writeAll(file, original);
    FileRegistryHive hive(file.string(), "HKEY_LOCAL_MACHINE", FileRegistryHive::Access::ReadOnly);
    EXPECT_EQ(hive.value("K", "A"), RegValue(1u));
    EXPECT_FALSE(hive.createKey("New"));
    EXPECT_FALSE(hive.setValue("K", "A", 2u));
    EXPECT_TRUE(hive.flush());
    EXPECT_EQ(hive.value("K", "A"), RegValue(1u));
    EXPECT_EQ(readWholeFile(file), original);
}

TEST(FileRegistryHive, FlushMergesIntoWhatTheFileHoldsNow)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    writeAll(file, "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n");
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    // Another program adds a value after we read the file.
    writeAll(file, "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n\"Other\"=\"kept\"\n");
    ASSERT_TRUE(hive.setValue("K", "A", 2u));
    ASSERT_TRUE(hive.flush());
    FileRegistryHive back(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadOnly);
    EXPECT_EQ(back.value("K", "A"), RegValue(2u));
    EXPECT_EQ(back.value("K", "Other"), RegValue(std::string("kept")));
    EXPECT_EQ(hive.value("K", "Other"), RegValue(std::string("kept"))) << "the merged state is the hive's state";
}

TEST(FileRegistryHive, AWritableFileInAFolderThatIsNotIsRewrittenInPlaceAndAFailureIsToldOnce)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    std::string original = "REGEDIT4\n; mine\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n";
    writeAll(file, original);
    // The user's own hive: another owner's file would be refused like a direct write.
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534) == 0 || ::geteuid() != 0, true);
    bool ok = runAsOrdinaryUser(dir.path, [&] {
        int told = 0;
        SettingsWriteNotice notice([&](const std::string&) { ++told; });
        FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        hive.setWriteNotice(&notice);
        struct stat before {};
        ::stat(file.c_str(), &before);
        if (!hive.setValue("K", "A", 7u)) {
            return false;
        }
        fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
        const std::string rewritten = "REGEDIT4\n; mine\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000007\n";
        struct stat st {};
        bool inPlace = hive.flush() && readWholeFile(file) == rewritten && ::stat(file.c_str(), &st) == 0 &&
                       st.st_ino == before.st_ino && told == 0;
        // Now the file is read-only too: nothing is written, the change is kept, and it is told once.
        fs::permissions(file, fs::perms::owner_read);
        hive.setValue("K", "A", 8u);
        bool refused = !hive.flush() && !hive.flush() && readWholeFile(file) == rewritten && told == 1 &&
                       hive.value("K", "A") == RegValue(8u);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        bool writtenLater = hive.flush() && readWholeFile(file).find("dword:00000008") != std::string::npos;
        fs::permissions(dir.path, fs::perms::owner_all);
        return inPlace && refused && writtenLater;
    });
    EXPECT_TRUE(ok) << "a writable hive in a closed folder is rewritten in place; a read-only one is kept, "
                       "its change too, and the failure told once";
}

TEST(FileRegistryHive, ABatchLandsTheValuesOfSeveralWindowsInOneWrite)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    const std::string original = "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                                 "\"CropLeft\"=dword:00000001\n\"Left\"=dword:00000001\n";
    writeAll(file, original);
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    SettingsStore store(hive, nullptr);
    HiveWriteBatch session(hive);
    session.begin();
    store.open().writeInteger("CropLeft", 2); // the frame closes its key first
    EXPECT_EQ(readWholeFile(file), original) << "an end here must find every old value";
    store.open().writeInteger("Left", 2); // then the Remote Control
    EXPECT_EQ(readWholeFile(file), original);
    ASSERT_TRUE(session.end());
    FileRegistryHive back(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadOnly);
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "CropLeft"), RegValue(2u));
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "Left"), RegValue(2u));
    // Outside a batch every closed key is written at once.
    store.open().writeInteger("Left", 3);
    EXPECT_NE(readWholeFile(file).find("dword:00000003"), std::string::npos);
}

TEST(FileRegistryHive, AFileThatCannotBeReadIsNotOverwritten)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    std::string original = "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n";
    writeAll(file, original);
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534) == 0 || ::geteuid() != 0, true);
    bool ok = runAsOrdinaryUser(dir.path, [&] {
        fs::permissions(file, fs::perms::none);
        FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        bool unread = !hive.keyExists("K");
        bool refused = hive.createKey("K") && hive.setValue("K", "B", 1u) && !hive.flush();
        fs::permissions(file, fs::perms::owner_read);
        return unread && refused && readWholeFile(file) == original;
    });
    EXPECT_TRUE(ok) << "an unreadable hive must never be replaced";
}

TEST(FileRegistryHive, InMemoryHiveFlushesWithoutAFile)
{
    FileRegistryHive hive;
    hive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"S\"=\"v\"\n");
    EXPECT_EQ(hive.value("K", "S"), RegValue(std::string("v")));
    ASSERT_TRUE(hive.setValue("K", "S", std::string("w")));
    EXPECT_TRUE(hive.flush());
    EXPECT_EQ(hive.text(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"S\"=\"w\"\n\n");
}

TEST(FileRegistryHive, FailedWritesReportFalseAndKeepTheChanges)
{
    TempFolder dir;
    // A plain file where the hive's folder should be: nothing can be created below it.
    writeAll(dir.path / "blocked", "x");
    FileRegistryHive blocked((dir.path / "blocked" / "user.reg").string(), "HKEY_CURRENT_USER",
                             FileRegistryHive::Access::ReadWrite);
    ASSERT_TRUE(blocked.createKey("K"));
    ASSERT_TRUE(blocked.setValue("K", "A", 3u));
    EXPECT_FALSE(blocked.flush());
    EXPECT_EQ(blocked.value("K", "A"), RegValue(3u));

    // A hive path that is a folder is neither read nor replaced.
    fs::create_directories(dir.path / "folder.reg" / "inside");
    FileRegistryHive folder((dir.path / "folder.reg").string(), "HKEY_CURRENT_USER",
                            FileRegistryHive::Access::ReadWrite);
    ASSERT_TRUE(folder.createKey("K"));
    EXPECT_FALSE(folder.flush());
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.reg" / "inside"));
}

// The user hive is a file people edit by hand: a save replaces Zentrap's own values where they
// stand and keeps every other line, including the ones the reader skips.
TEST(FileRegistryHive, ASaveKeepsEveryLineItDoesNotOwnInItsPlace)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    const std::string handEdited = "REGEDIT4\r\n"
                                   "; my settings, edited by hand\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\r\n"
                                   "\"Left\"=dword:00000010\r\n"
                                   "; keep the remote near the corner\r\n"
                                   "\"Top\"=dword:00000020\r\n"
                                   "\"Top\"=dword:00000021\r\n"
                                   "\"Broken\"=dword:zz\r\n"
                                   "\"Blob\"=hex:01,02,\\\r\n"
                                   "  03,04\r\n"
                                   "this line means nothing\r\n"
                                   "\r\n"
                                   "[-HKEY_CURRENT_USER\\SOFTWARE\\Old]\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n"
                                   "\"Theirs\"=\"kept\"\r\n";
    writeAll(file, handEdited);
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    ASSERT_TRUE(hive.createKey("SOFTWARE\\Morvane\\Zentrap"));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Left", 100u));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "top", 200u));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Blob", std::string("text now")));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Skin", std::string("")));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Left", 101u));
    ASSERT_TRUE(hive.createKey("Control Panel\\Desktop"));
    ASSERT_TRUE(hive.setValue("Control Panel\\Desktop", "DragFullWindows", std::string("1")));
    ASSERT_TRUE(hive.flush());
    EXPECT_EQ(readWholeFile(file), "REGEDIT4\r\n"
                                   "; my settings, edited by hand\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\r\n"
                                   "\"Left\"=dword:00000065\r\n"
                                   "; keep the remote near the corner\r\n"
                                   "\"Top\"=dword:00000020\r\n"
                                   "\"Top\"=dword:000000c8\r\n"
                                   "\"Broken\"=dword:zz\r\n"
                                   "\"Blob\"=\"text now\"\r\n"
                                   "this line means nothing\r\n"
                                   "\"Skin\"=\"\"\r\n"
                                   "\r\n"
                                   "[-HKEY_CURRENT_USER\\SOFTWARE\\Old]\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n"
                                   "\"Theirs\"=\"kept\"\r\n"
                                   "\r\n"
                                   "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                                   "\"DragFullWindows\"=\"1\"\r\n"
                                   "\r\n");
    FileRegistryHive back(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadOnly);
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "Top"), RegValue(200u));
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "Left"), RegValue(101u));
    EXPECT_EQ(back.value("SOFTWARE\\Other", "Theirs"), RegValue(std::string("kept")));

    // Saving again changes nothing that was not changed.
    std::string once = readWholeFile(file);
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Left", 101u));
    ASSERT_TRUE(hive.flush());
    EXPECT_EQ(readWholeFile(file), once);
}

TEST(FileRegistryHive, AValueThatCannotBeReadIsReplacedWhereItStands)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    writeAll(file, "REGEDIT4\n\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                   "\"CropLeft\"=dword:00000010\n"
                   "\"CropTop\"=dword:fffffffffffffff2\n"
                   "\"Skin\"=\"unterminated\n"
                   "\"CropWidth\"=dword:00000300\n");
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    EXPECT_FALSE(hive.value("SOFTWARE\\Morvane\\Zentrap", "CropTop").has_value());
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "CropTop", 20u));
    ASSERT_TRUE(hive.setValue("SOFTWARE\\Morvane\\Zentrap", "Skin", std::string("")));
    ASSERT_TRUE(hive.flush());
    EXPECT_EQ(readWholeFile(file), "REGEDIT4\n\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                                   "\"CropLeft\"=dword:00000010\n"
                                   "\"CropTop\"=dword:00000014\n"
                                   "\"Skin\"=\"\"\n"
                                   "\"CropWidth\"=dword:00000300\n");
    FileRegistryHive back(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadOnly);
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "CropTop"), RegValue(20u));
}

TEST(FileRegistryHive, AHiveAtTheSizeCapOfTinyKeysIsReadAndSavedKeepingItsLines)
{
    TempFolder dir;
    fs::path file = dir.path / "user.reg";
    // Mostly keys of one value, every tenth of nine (past where values are looked up by index).
    std::string before = "REGEDIT4\n\n";
    std::string after = before;
    char line[64];
    int keys = 0;
    for (; before.size() < kMaxSettingsFileBytes - 4096; ++keys) {
        std::snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\K%x]\n", keys);
        before += line;
        after += line;
        for (int v = 0; v < (keys % 10 == 9 ? 9 : 1); ++v) {
            std::snprintf(line, sizeof line, "\"N%d\"=dword:%08x\n", v, keys + v);
            before += line;
            after += keys == 0x1234 && v == 0 ? "\"N0\"=dword:00000007\n" : line;
        }
        if (keys == 0x4a5) {
            after += "\"Extra\"=\"x\"\n";
        }
    }
    writeAll(file, before);
    FileRegistryHive hive(file.string(), "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
    EXPECT_EQ(hive.value("k5", "n0"), RegValue(5u));
    EXPECT_EQ(hive.value("K4a5", "n8"), RegValue(0x4a5u + 8));
    EXPECT_FALSE(hive.value("K4a5", "N9"));
    std::snprintf(line, sizeof line, "k%x", keys - 1);
    EXPECT_TRUE(hive.keyExists(line));
    EXPECT_TRUE(hive.setValue("k1234", "n0", 7u));
    EXPECT_TRUE(hive.setValue("K4A5", "Extra", std::string("x")));
    ASSERT_TRUE(hive.flush());
    EXPECT_TRUE(readWholeFile(file) == after) << "every other line stays byte for byte";
    EXPECT_EQ(hive.value("K4a5", "extra"), RegValue(std::string("x")));
    EXPECT_EQ(hive.value("K4a5", "N3"), RegValue(0x4a5u + 3));
}
