#include "common/SettingsFile.h"

#include "common/SettingsFileText.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace fs = std::filesystem;

TEST(ProfileText, ReadsLikeAProfileFile)
{
    ProfileText p("; comment\r\n"
                  "Orphan=1\r\n"
                  "[Edit]\r\n"
                  "  Left = 10  \r\n"
                  "Color=\"8421376\"\r\n"
                  "Name='quoted'\r\n"
                  "Half=\"open\r\n"
                  "Empty=\r\n"
                  "Eq=a=b\r\n"
                  "noequals\r\n"
                  "left=second\r\n"
                  "[ save ]\n"
                  "Top=5\n"
                  "[EDIT]\n"
                  "Right=7\n");
    EXPECT_EQ(p.value("edit", "LEFT"), "10");
    EXPECT_EQ(p.value("Edit", "Color"), "8421376");
    EXPECT_EQ(p.value("Edit", "Name"), "quoted");
    EXPECT_EQ(p.value("Edit", "Half"), "\"open");
    EXPECT_EQ(p.value("Edit", "Empty"), "");
    EXPECT_EQ(p.value("Edit", "Eq"), "a=b");
    EXPECT_EQ(p.value("Save", "Top"), "5");
    EXPECT_FALSE(p.value("Edit", "Orphan")) << "lines before the first section belong to none";
    EXPECT_FALSE(p.value("Edit", "Top"));
    EXPECT_FALSE(p.value("Edit", "Right")) << "the first section of a name is the one used";
    EXPECT_FALSE(p.value("Print", "Left"));
}

TEST(ProfileText, WritingOneValueKeepsEveryOtherLine)
{
    ProfileText p("; keep me\n[Edit]\nLeft=1\n\n[Save]\nTop=2\nunknown line\n\n");
    p.setValue("EDIT", "left", "3");
    p.setValue("Edit", "Width", "400");
    p.setValue("Print", "Zoom", "line\nbreak");
    EXPECT_EQ(p.text(), "; keep me\n[Edit]\nleft=3\nWidth=400\n\n[Save]\nTop=2\nunknown line\n\n"
                        "[Print]\nZoom=line break\n");
    ProfileText windows("[Edit]\r\nLeft=1\r\n");
    windows.setValue("Edit", "Top", "2");
    windows.setValue("Print", "Zoom", "3");
    EXPECT_EQ(windows.text(), "[Edit]\r\nLeft=1\r\nTop=2\r\n\r\n[Print]\r\nZoom=3\r\n") << "line ends are kept";
    ProfileText empty("");
    empty.setValue("Save", "Left", "-5");
    EXPECT_EQ(empty.text(), "[Save]\nLeft=-5\n");
}

TEST(ProfileText, IntegersAreWholeDecimalOrHexNumbersOf32Bits)
{
    EXPECT_EQ(parseProfileInteger("8421376"), 8421376);
    EXPECT_EQ(parseProfileInteger(" -12 "), -12);
    EXPECT_EQ(parseProfileInteger("+7"), 7);
    EXPECT_EQ(parseProfileInteger("0x808000"), 0x808000);
    EXPECT_EQ(parseProfileInteger("$FF"), 255);
    EXPECT_EQ(parseProfileInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(parseProfileInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseProfileInteger("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "-", "12a", "1 2", "2147483648", "-2147483649", "99999999999999999999999", "0x",
                            "0x1FFFFFFFF", "$", "1.5", "abc"}) {
        EXPECT_FALSE(parseProfileInteger(bad)) << bad;
    }
}

TEST(SettingsFile, ReadsAndWritesThroughTheFile)
{
    TempFolder dir;
    fs::path path = dir.path / "sub" / "zentrap.ini";
    SettingsFile file(path.string());
    EXPECT_EQ(file.readInteger("Edit", "Left", 42), 42) << "a missing file reads the defaults";
    EXPECT_EQ(file.readString("Edit", "Name", "d"), "d");
    ASSERT_TRUE(file.writeInteger("Edit", "Left", -3));
    ASSERT_TRUE(file.writeString("Edit", "Name", "x y"));
    EXPECT_EQ(readWholeFile(path), "[Edit]\nLeft=-3\nName=x y\n");
    EXPECT_EQ(file.readInteger("edit", "left", 0), -3);

    std::ofstream(path, std::ios::binary | std::ios::app) << "Bad=12abc\nHuge=99999999999\n\xFF\xFE=\x80\n";
    EXPECT_EQ(file.readInteger("Edit", "Bad", 5), 5);
    EXPECT_EQ(file.readInteger("Edit", "Huge", 6), 6);
    EXPECT_EQ(file.readString("Edit", "Name", ""), "x y") << "bad lines do not spoil the others";
    EXPECT_EQ(file.readString("Edit", "\xFF\xFE", ""), "\x80");
}

TEST(SettingsFile, AFileAtTheSizeCapOfBlankLinesIsReadAndWrittenKeepingItsLines)
{
    TempFolder dir;
    fs::path path = dir.path / "zentrap.ini";
    std::string blanks(kMaxSettingsFileBytes - 64, '\n');
    for (size_t i = 4096; i < blanks.size(); i += 4096) {
        blanks[i] = '\t'; // blank lines need not be empty
    }
    std::string head = "[Edit]\r\nLeft=1\r\n";
    std::string tail = "[Save]\r\nFormat=2";
    std::ofstream(path, std::ios::binary) << head << blanks << tail;
    SettingsFile file(path.string());
    EXPECT_EQ(file.readInteger("save", "FORMAT", 0), 2);
    EXPECT_EQ(file.readInteger("Edit", "Left", 0), 1);
    ASSERT_TRUE(file.writeInteger("Edit", "Top", 7));
    ASSERT_TRUE(file.writeInteger("Save", "format", 3));
    EXPECT_TRUE(readWholeFile(path) == head + "Top=7\r\n" + blanks + "[Save]\r\nformat=3\r\n")
        << "the blank lines stay byte for byte";
    EXPECT_EQ(file.readInteger("Edit", "Top", 0), 7);
}

TEST(SettingsFile, AFileThatCannotBeReadIsNeitherReadNorReplaced)
{
    TempFolder dir;
    fs::create_directories(dir.path / "folder.ini");
    SettingsFile folder((dir.path / "folder.ini").string());
    EXPECT_EQ(folder.readInteger("Edit", "Left", 9), 9);
    EXPECT_FALSE(folder.writeInteger("Edit", "Left", 1));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.ini"));

    std::ofstream(dir.path / "blocked") << "x";
    SettingsFile blocked((dir.path / "blocked" / "zentrap.ini").string());
    EXPECT_FALSE(blocked.writeInteger("Edit", "Left", 1));
}

TEST(SettingsFile, LivesInTheConfigFolderUnlessOneStandsBesideTheProgram)
{
    TempFolder dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    // A writable build folder is not a reason to write there.
    EXPECT_EQ(settingsFilePathFor((dir.path / "zentrap").string()), "/cfg/zentrap/zentrap.ini");
    std::ofstream(dir.path / "zentrap.ini") << "";
    EXPECT_EQ(settingsFilePathFor((dir.path / "zentrap").string()), (dir.path / "zentrap.ini").string());
    EXPECT_EQ(settingsFilePathFor((dir.path / "zentrap.bin").string()), (dir.path / "zentrap.ini").string());
    EXPECT_EQ(settingsFilePathFor((dir.path / "missing-folder" / "zentrap").string()), "/cfg/zentrap/zentrap.ini");
    EXPECT_EQ(settingsFilePathFor(""), "/cfg/zentrap/zentrap.ini");
    old ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}
