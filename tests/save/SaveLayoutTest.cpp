#include "save/SaveLayout.h"
#include "save/SaveDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SaveLayout, TwoColumnsAndTwoRowsLeftOfTheControlColumn)
{
    auto areas = savePaneAreas(690, 526, 20);
    // The preview area is 490 wide with the border: left column 490 div 2 - 10 = 235.
    // The columns are 490 high inside the border: upper panes 490 div 2 - 2 = 243.
    EXPECT_EQ(areas[0], Rect::fromSize(8, 8, 235, 243));
    EXPECT_EQ(areas[1], Rect::fromSize(247, 8, 235, 243));
    EXPECT_EQ(areas[2], Rect::fromSize(8, 255, 235, 243));
    EXPECT_EQ(areas[3], Rect::fromSize(247, 255, 235, 243));
    // The right column ends at the border before the control column; the lower row above the status bar.
    EXPECT_EQ(areas[1].right, 690 - 200 - 8);
    EXPECT_EQ(areas[3].bottom, 526 - 20 - 8);
}

TEST(SaveLayout, OddSizesGiveTheRightAndLowerPanesTheRest)
{
    auto areas = savePaneAreas(1001, 777, 19);
    EXPECT_EQ(areas[0].width(), 801 / 2 - 10);
    EXPECT_EQ(areas[1].right, 1001 - 200 - 8);
    EXPECT_LE(std::abs(areas[0].width() - areas[1].width()), 1);
    EXPECT_EQ(areas[2].top, areas[0].bottom + 4);
    EXPECT_EQ(areas[2].bottom, 777 - 19 - 8);
}

TEST(SaveLayout, TinyWindowsGiveEmptyAreasNotNegativeOnes)
{
    for (const Rect& r : savePaneAreas(100, 30, 20)) {
        EXPECT_GE(r.width(), 0);
        EXPECT_GE(r.height(), 0);
    }
}

TEST(SaveLayout, ScrollOffsetMovesBackWhenThePreviewGrows)
{
    EXPECT_EQ(clampScrollOffset(0, 1000, 300), 0);
    EXPECT_EQ(clampScrollOffset(700, 1000, 300), 700);
    EXPECT_EQ(clampScrollOffset(800, 1000, 300), 700);
    // A preview larger than the image: back to 0, never negative.
    EXPECT_EQ(clampScrollOffset(50, 200, 300), 0);
}

TEST(SaveLayout, DraggingStaysWithinTheImage)
{
    // Anchor 150 (pointer 100 at offset 50): moving left scrolls right.
    EXPECT_EQ(dragScrollOffset(50, 150, 80, 1000, 300), 70);
    EXPECT_EQ(dragScrollOffset(50, 150, 400, 1000, 300), 0);
    EXPECT_EQ(dragScrollOffset(50, 150, -900, 1000, 300), 700);
    // An image that fits does not move.
    EXPECT_EQ(dragScrollOffset(0, 10, -500, 300, 300), 0);
}

TEST(SaveLayout, MinimumSizeAndDefaultPositionScaleWithPixelsPerInch)
{
    EXPECT_EQ(saveWindowMinimumSize(96), (Size{690, 526}));
    // 862.5 and 657.5 go to the even neighbours.
    EXPECT_EQ(saveWindowMinimumSize(120), (Size{862, 658}));
    EXPECT_EQ(saveWindowDefaultPosition({1920, 1080}, 96), (Point{(1920 - 526) / 2, (1080 - 526) / 2}));
}

class SaveDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() /
               ("zentrap-savedir-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root / "stored");
        std::filesystem::create_directories(root / "pictures");
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string folder(const char* name) const { return (root / name).string(); }
    std::filesystem::path root;
};

TEST_F(SaveDirTest, AnExistingStoredFolderIsUsedAsItIs)
{
    EXPECT_EQ(resolveSaveDir(folder("stored") + "/", "", folder("pictures")), folder("stored") + "/");
    EXPECT_EQ(resolveSaveDir(folder("stored"), "", folder("pictures")), folder("stored") + "/");
}

TEST_F(SaveDirTest, MissingEmptyOrWindowsFoldersFallBack)
{
    EXPECT_EQ(resolveSaveDir("c:\\", "", folder("pictures")), folder("pictures") + "/");
    EXPECT_EQ(resolveSaveDir("", "", folder("pictures")), folder("pictures") + "/");
    EXPECT_EQ(resolveSaveDir(folder("gone"), "", folder("pictures")), folder("pictures") + "/");
    // The folder remembered in this run comes before the fallback.
    EXPECT_EQ(resolveSaveDir(folder("gone"), folder("stored") + "/", folder("pictures")), folder("stored") + "/");
}

TEST(SaveDir, TheFolderOfAFileKeepsItsTrailingSlash)
{
    EXPECT_EQ(folderOfFile("/home/u/Pictures/Capture3.png"), "/home/u/Pictures/");
    EXPECT_EQ(folderOfFile("/Capture1.bmp"), "/");
    EXPECT_EQ(folderOfFile("Capture1.bmp"), "./");
}
