#include "capture/FrameSettingsIO.h"

#include "common/SettingsStore.h"
#include "platform/FileRegistryHive.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

FrameSettings readFrom(FileRegistryHive& hive, Size screen = {1920, 1080})
{
    SettingsStore store(hive, nullptr);
    SettingsKey key = store.open();
    return readFrameSettings(key, screen, 14);
}

void store(FileRegistryHive& hive, const char* name, RegValue value)
{
    hive.createKey(SettingsStore::kPrimaryKey);
    hive.setValue(SettingsStore::kPrimaryKey, name, value);
}

} // namespace

TEST(FrameSettingsIO, MissingValuesTakeTheirDefaults)
{
    FileRegistryHive hive;
    EXPECT_EQ(readFrom(hive), (FrameSettings{480, 270, 960, 540, 0}));
}

TEST(FrameSettingsIO, EachUnreadableValueFallsBackAloneAndTheOthersStay)
{
    FileRegistryHive hive;
    store(hive, "CropLeft", std::string("12"));
    store(hive, "CropTop", uint32_t{40});
    store(hive, "CropWidth", uint32_t{300});
    store(hive, "FUnits", uint32_t{2});
    EXPECT_EQ(readFrom(hive), (FrameSettings{480, 40, 300, 540, 2}));
}

TEST(FrameSettingsIO, AbsurdValuesAreCorrectedAndUnknownUnitsKept)
{
    FileRegistryHive hive;
    store(hive, "CropLeft", uint32_t{0xFFFFFF00}); // -256: a frame partly off the left edge stays there
    store(hive, "CropTop", uint32_t{5000});
    store(hive, "CropWidth", uint32_t{0x80000000}); // INT_MIN
    store(hive, "CropHeight", uint32_t{0x7FFFFFFF});
    store(hive, "FUnits", uint32_t{7});
    EXPECT_EQ(readFrom(hive), (FrameSettings{-256, 270, 29, kMaxFrameExtent, 7}));
}

TEST(FrameSettingsIO, WrittenValuesReadBackUnchanged)
{
    FileRegistryHive hive;
    {
        SettingsStore settings(hive, nullptr);
        SettingsKey key = settings.open();
        writeFrameSettings(key, {-30, 1080, 640, 480, -3});
    }
    EXPECT_EQ(readFrom(hive), (FrameSettings{-30, 1080, 640, 480, -3}));
    EXPECT_EQ(std::get<uint32_t>(*hive.value(SettingsStore::kPrimaryKey, "FUnits")), static_cast<uint32_t>(-3));
}
