// What every window that keeps its placement in the settings file shares: the keys and their
// fallbacks, where a restored window goes, and which reported moves are the user's.
#include "common/WindowPlacement.h"
#include "common/PlacementTracker.h"
#include "common/SettingsFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

auto fields(const WindowPlacement& p)
{
    return std::tuple(p.left, p.top, p.width, p.height, p.background);
}

} // namespace

TEST(WindowPlacement, IsWrittenInOneGoAndReadBackKeyByKeyWithItsDefaults)
{
    TempFolder folder;
    SettingsFile file((folder.path / "zentrap.ini").string());
    ASSERT_TRUE(writeWindowPlacement(file, "Edit", {-20, 30, 640, 480, 0x00FF8000}));
    EXPECT_EQ(readWholeFile(file.path()), "[Edit]\nTop=30\nLeft=-20\nWidth=640\nHeight=480\nBackground=16744448\n");
    const WindowPlacement defaults{1, 2, 3, 4, kDefaultBackground};
    EXPECT_EQ(fields(readWindowPlacement(file, "edit", defaults)), fields({-20, 30, 640, 480, 0x00FF8000}));
    EXPECT_EQ(fields(readWindowPlacement(file, "Save", defaults)), fields(defaults));

    // A value that does not read falls back alone; a background beyond 24 bits is not a colour.
    file.writeStrings("Edit", {{"Width", "wide"}, {"Background", "16777216"}});
    EXPECT_EQ(fields(readWindowPlacement(file, "Edit", defaults)), fields({-20, 30, 3, 480, kDefaultBackground}));
}

TEST(WindowPlacement, ARestoredWindowIsAtLeastItsMinimumAndOnAScreen)
{
    const std::vector<Rect> screen{Rect::fromSize(0, 0, 1920, 1050)};
    EXPECT_EQ(restoredPlacement({100, 50, 200, 100}, {516, 400}, screen, {700, 300}),
              Rect::fromSize(100, 50, 516, 400));
    // Raised to its minimum first, it would show too little at the right edge: the default place.
    EXPECT_EQ(restoredPlacement({1900, 50, 10, 10}, {516, 400}, screen, {700, 300}),
              Rect::fromSize(700, 300, 516, 400));
}

TEST(PlacementTracker, TakesTheUsersMovesButNotTheMappingReportNorAMaximizedPosition)
{
    PlacementTracker tracker;
    tracker.placed({40, 50});
    EXPECT_TRUE(tracker.moved({44, 73}, false)) << "the report that follows mapping";
    EXPECT_EQ(tracker.position(), (Point{40, 50}));
    EXPECT_FALSE(tracker.moved({200, 300}, false));
    EXPECT_EQ(tracker.position(), (Point{200, 300}));
    tracker.moved({0, 0}, true);
    EXPECT_EQ(tracker.position(), (Point{200, 300}));
    tracker.placed({10, 10}); // corrected by the program after mapping
    EXPECT_EQ(tracker.position(), (Point{10, 10}));
}
