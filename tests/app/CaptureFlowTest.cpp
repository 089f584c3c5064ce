// One capture without a display or a window: the Remote Control as a recording stand-in, the
// desktop as fakes, and the expected pictures read pixel by pixel from the fake screen.
#include "app/CaptureFlow.h"
#include "app/CaptureFrameLink.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

Bitmap screenPattern(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), 0x5A));
        }
    }
    return b;
}

// What the screen shows in `area`, read pixel by pixel (not through the grab's block copy).
Bitmap screenArea(const Bitmap& screen, const Rect& area)
{
    Bitmap b(area.width(), area.height());
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            b.setPixelValue(x, y, screen.pixelColor(area.left + x, area.top + y));
        }
    }
    return b;
}

class HoleFrame : public CaptureFrameLink {
public:
    Rect captureRect() const override { return hole; }
    bool isShown() const override { return true; }
    void setShown(bool) override {}
    Rect hole;
};

// The Remote Control, standing at 270,110 (100 x 260), as the capture sees it.
class RecordingRemote : public CaptureView {
public:
    bool remoteOnScreen() const override { return onScreen; }
    FramedWindow remoteOnScreenBounds() const override { return {42, Rect::fromSize(270, 110, 100, 260)}; }
    void hideRemote() override
    {
        onScreen = false;
        ++hides;
    }
    void showRemote() override
    {
        onScreen = true;
        ++shows;
    }
    void repaintRemote() override {}
    void showThumbnail(const Bitmap& image) override { thumbnail = image; }
    void imageCaptured() override { ++imagesCaptured; }
    void screenUnreadable() override { ++unreadableReports; }

    bool onScreen = true;
    int hides = 0;
    int shows = 0;
    int imagesCaptured = 0;
    int unreadableReports = 0;
    Bitmap thumbnail;
};

// The fake screen, noting whether the Remote Control was on the screen at each grab.
class WatchedScreen : public FakeScreenSource {
public:
    WatchedScreen(Bitmap pixels, const RecordingRemote& remote) : FakeScreenSource(std::move(pixels)), remote_(remote)
    {
    }
    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override
    {
        grabsWithRemoteShown += remote_.onScreen ? 1 : 0;
        return FakeScreenSource::copyPixels(left, top, width, height, target);
    }
    int grabsWithRemoteShown = 0;

private:
    const RecordingRemote& remote_;
};

} // namespace

TEST(CaptureFlow, TheHoleReachesClipboardAndThumbnailAndFailuresAndTheEditorKeepTheImage)
{
    FakePlatform fakes;
    RecordingRemote remote;
    WatchedScreen screen(screenPattern(640, 480), remote);
    const Platform& p = fakes.platform;
    const Platform withScreen{p.userHive, p.machineHive,      screen,  p.clipboard, p.help,  p.messages,
                              p.clock,    p.programFolder,    nullptr, nullptr,     nullptr, nullptr,
                              nullptr,    &fakes.uncoverWatch};
    CaptureSession session;
    CaptureFlow flow(session, remote, withScreen);
    HoleFrame frame;
    flow.attachFrame(&frame);
    CaptureOptions options;
    options.captureCursor = false;

    // A hole away from the Remote Control: it stays on the screen, and nothing waits.
    frame.hole = Rect::fromSize(20, 30, 40, 25);
    flow.capture(options);
    const Bitmap first = screenArea(screen.pixels, frame.hole);
    ASSERT_TRUE(fakes.clipboard.content.has_value());
    EXPECT_TRUE(*fakes.clipboard.content == first);
    EXPECT_TRUE(remote.thumbnail == first);
    EXPECT_TRUE(session.notSaved);
    EXPECT_EQ(remote.imagesCaptured, 1);
    EXPECT_EQ(remote.hides, 0);
    EXPECT_TRUE(fakes.clock.waits.empty());
    EXPECT_FALSE(flow.capturing());

    // A hole the Remote Control partly covers: off the screen for every grab, back after.
    frame.hole = Rect::fromSize(250, 100, 200, 90);
    screen.grabsWithRemoteShown = 0;
    flow.capture(options);
    const Bitmap second = screenArea(screen.pixels, frame.hole);
    EXPECT_TRUE(*fakes.clipboard.content == second);
    EXPECT_TRUE(remote.thumbnail == second);
    EXPECT_EQ(remote.hides, 1);
    EXPECT_EQ(remote.shows, 1);
    EXPECT_TRUE(remote.onScreen);
    EXPECT_EQ(screen.grabsWithRemoteShown, 0);
    EXPECT_EQ(fakes.uncoverWatch.watchedArea, (Rect{270, 110, 370, 190})) << "the covered part is watched";
    // Without the option it stays, covering or not.
    CaptureOptions staying = options;
    staying.hideRemote = false;
    flow.capture(staying);
    EXPECT_EQ(remote.hides, 1);

    // A screen that gives no pixels: the last capture stays, the user is told once.
    session.notSaved = false;
    const int placements = fakes.clipboard.placements;
    screen.refusal = "the desktop keeps it";
    flow.capture(options);
    flow.capture(options);
    EXPECT_TRUE(session.image == second) << "no black picture in place of the last capture";
    EXPECT_TRUE(remote.thumbnail == second);
    EXPECT_EQ(fakes.clipboard.placements, placements);
    EXPECT_FALSE(session.notSaved);
    EXPECT_EQ(remote.unreadableReports, 1);
    EXPECT_TRUE(remote.onScreen) << "shown again after a failed grab";

    // The editor works on a copy with an empty undo image; what it ends with becomes the image.
    flow.handToEditor();
    ASSERT_NE(session.editImage, nullptr);
    ASSERT_NE(session.undoImage, nullptr);
    EXPECT_TRUE(*session.editImage == second);
    EXPECT_EQ(session.undoImage->width(), 0);
    session.editImage->fillRect(Rect::fromSize(0, 0, 10, 10), makeColor(255, 0, 0));
    EXPECT_TRUE(session.image == second) << "the image stays as it was while the editor works";
    Bitmap edited = *session.editImage;
    flow.takeBackFromEditor();
    EXPECT_TRUE(session.image == edited);
    EXPECT_TRUE(remote.thumbnail == edited);
    EXPECT_EQ(session.editImage, nullptr);
    EXPECT_EQ(session.undoImage, nullptr);
}
