#include "common/SettingsStore.h"
#include "platform/FileRegistryHive.h"

#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { machine.loadText(""); }

    void user(const std::string& values)
    {
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n" + values);
    }
    void fallback(const std::string& values)
    {
        machine.loadText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane Software\\Zentrap]\n" + values);
    }

    FileRegistryHive userHive;
    FileRegistryHive machine{"HKEY_LOCAL_MACHINE", FileRegistryHive::Access::ReadOnly};
    SettingsStore store{userHive, &machine};
};

} // namespace

TEST_F(SettingsStoreTest, OpeningCreatesThePrimaryKey)
{
    EXPECT_FALSE(userHive.keyExists(SettingsStore::kPrimaryKey));
    {
        SettingsKey key = store.openWithFallback();
    }
    EXPECT_TRUE(userHive.keyExists("SOFTWARE\\Morvane\\Zentrap"));
    EXPECT_FALSE(machine.keyExists(SettingsStore::kFallbackKey)) << "the fallback key is opened without creation";
}

TEST_F(SettingsStoreTest, IntegersAndBooleansComeFromPrimaryThenFallbackThenDefault)
{
    user("\"Both\"=dword:00000001\n\"Negative\"=dword:ffffffce\n\"Flag\"=dword:00000002\n\"Off\"=dword:00000000\n");
    fallback("\"Both\"=dword:00000009\n\"OnlyFallback\"=dword:00000003\n\"FallbackFlag\"=dword:00000000\n");
    SettingsKey key = store.openWithFallback();
    EXPECT_EQ(key.readInteger("Both", 42), 1);
    EXPECT_EQ(key.readInteger("both", 42), 1) << "names match without regard to case";
    EXPECT_EQ(key.readInteger("OnlyFallback", 42), 3);
    EXPECT_EQ(key.readInteger("Nowhere", 42), 42);
    EXPECT_EQ(key.readInteger("Negative", 0), -50);
    EXPECT_TRUE(key.readBoolean("Flag", false)) << "any non-zero value is true";
    EXPECT_FALSE(key.readBoolean("Off", true));
    EXPECT_FALSE(key.readBoolean("FallbackFlag", true));
    EXPECT_TRUE(key.readBoolean("Nowhere", true));

    SettingsKey plain = store.open();
    EXPECT_EQ(plain.readInteger("OnlyFallback", 42), 42) << "only the Remote Control's reading uses the fallback";
}

TEST_F(SettingsStoreTest, AValueOfAnotherKindFallsBackLikeAMissingOne)
{
    user("\"Left\"=\"12\"\n\"Top\"=\"7\"\n\"Width\"=hex:01\n\"Height\"=dword:00000005\n");
    fallback("\"Left\"=dword:00000064\n\"Width\"=\"x\"\n");
    SettingsKey key = store.openWithFallback();
    EXPECT_EQ(key.readInteger("Left", 0), 100) << "the fallback's Left";
    EXPECT_EQ(key.readInteger("Top", -1), -1) << "no fallback: the default";
    EXPECT_EQ(key.readInteger("Width", -2), -2) << "other kinds in both keys: the default";
    EXPECT_EQ(key.readInteger("Height", 0), 5) << "the remaining values are read normally";
    EXPECT_FALSE(key.readBoolean("Top", false));
}

TEST_F(SettingsStoreTest, StringsReadTheFallbackWhenThePrimaryIsEmpty)
{
    user("\"Skin\"=\"\"\n\"Own\"=\"/mine.bmp\"\n\"Number\"=dword:00000001\n\"EmptyOnly\"=\"\"\n");
    fallback("\"Skin\"=\"/machine.bmp\"\n\"Own\"=\"/theirs.bmp\"\n\"Number\"=\"/never.bmp\"\n"
             "\"Missing\"=\"/fallback.bmp\"\n\"Kind\"=dword:00000001\n");
    SettingsKey key = store.openWithFallback();
    EXPECT_EQ(key.readString("Skin", "default"), "/machine.bmp");
    EXPECT_EQ(key.readString("Own", "default"), "/mine.bmp");
    EXPECT_EQ(key.readString("Missing", "default"), "/fallback.bmp");
    EXPECT_EQ(key.readString("Number", "default"), "default") << "another kind in the primary key: the default";
    EXPECT_EQ(key.readString("Kind", "default"), "default") << "another kind in the fallback key: the default";
    EXPECT_EQ(key.readString("EmptyOnly", "default"), "") << "the stored empty string stands";
    EXPECT_EQ(key.readString("Nowhere", "default"), "default");
}

TEST_F(SettingsStoreTest, WritesGoToThePrimaryKeyOnlyAndKeepTheirKinds)
{
    fallback("\"Left\"=dword:00000064\n");
    {
        SettingsKey key = store.openWithFallback();
        EXPECT_EQ(key.readInteger("Left", 0), 100);
        key.writeBoolean("FCursor", true);
        key.writeString("Skin", "/a.bmp");
        key.writeInteger("Left", -3);
        key.writeBoolean("ShowHint", false);
    }
    EXPECT_EQ(userHive.text(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                               "\"FCursor\"=dword:00000001\n\"Skin\"=\"/a.bmp\"\n\"Left\"=dword:fffffffd\n"
                               "\"ShowHint\"=dword:00000000\n\n");
    EXPECT_EQ(machine.value(SettingsStore::kFallbackKey, "Left"), RegValue(0x64u));
    SettingsKey key = store.open();
    EXPECT_EQ(key.readInteger("Left", 0), -3);
}

TEST_F(SettingsStoreTest, NoMachineHiveMeansNoFallback)
{
    user("\"Top\"=dword:00000002\n");
    SettingsStore alone(userHive, nullptr);
    SettingsKey key = alone.openWithFallback();
    EXPECT_EQ(key.readInteger("Top", 0), 2);
    EXPECT_EQ(key.readInteger("Left", 9), 9);
    EXPECT_EQ(key.readString("Skin", "d"), "d");
}

TEST_F(SettingsStoreTest, DragFullWindowsIsTrueOnlyForTheExactStringOne)
{
    auto dragWith = [&](const std::string& line) {
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n" + line);
        return store.readDragFullWindows();
    };
    EXPECT_TRUE(dragWith("\"DragFullWindows\"=\"1\"\n"));
    EXPECT_TRUE(dragWith("\"dragfullwindows\"=\"1\"\n"));
    EXPECT_FALSE(dragWith("\"DragFullWindows\"=\"0\"\n"));
    EXPECT_FALSE(dragWith("\"DragFullWindows\"=\"1 \"\n"));
    EXPECT_FALSE(dragWith("\"DragFullWindows\"=dword:00000001\n"));
    EXPECT_FALSE(dragWith(""));
    userHive.loadText("");
    EXPECT_FALSE(store.readDragFullWindows());
    EXPECT_FALSE(userHive.keyExists(SettingsStore::kDesktopKey)) << "only read, never created";
}
