#include "capture/ui/CaptureFrameWindow.h"

#include "capture/FrameGeometry.h"

#include "capture/FrameTestSupport.h"
#include "common/SettingsStore.h"
#include "support/FindControl.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>

namespace {

class CaptureFrame : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }

    void storeValue(const char* name, int32_t value)
    {
        fakes.userHive.createKey(SettingsStore::kPrimaryKey);
        fakes.userHive.setValue(SettingsStore::kPrimaryKey, name, static_cast<uint32_t>(value));
    }
    int32_t storedValue(const char* name)
    {
        auto value = fakes.userHive.value(SettingsStore::kPrimaryKey, name);
        return value ? static_cast<int32_t>(std::get<uint32_t>(*value)) : INT_MIN;
    }

    void key(CaptureFrameWindow& form, int qtKey, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
        QCoreApplication::sendEvent(&form, &press);
    }

    // A mouse event with the pointer at `global` on the screen, wherever the frame is now.
    void mouse(CaptureFrameWindow& form, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
    {
        QPointF local = global - form.geometry().topLeft();
        QMouseEvent event(type, local, QPointF(global), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &event);
    }

    // The pointer pressed at `from` and moved to `to` with the button held.
    void drag(CaptureFrameWindow& form, QPoint from, QPoint to, Qt::MouseButton button)
    {
        mouse(form, QEvent::MouseButtonPress, from, button, button);
        moveHeld(form, to, button);
    }
    void moveHeld(CaptureFrameWindow& form, QPoint to, Qt::MouseButtons held)
    {
        mouse(form, QEvent::MouseMove, to, Qt::NoButton, held);
    }
    void release(CaptureFrameWindow& form, QPoint at, Qt::MouseButton button)
    {
        mouse(form, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    // A frame at 100, 100 of 300 x 200, shown when asked: where the pointer tests start.
    CaptureFrameWindow& frameAtTheStart(bool shown = true)
    {
        window = std::make_unique<CaptureFrameWindow>(fakes.platform, host);
        window->setGeometry(100, 100, 300, 200);
        if (shown) {
            window->show();
        }
        return *window;
    }

    FakeFramePlatform fakes;
    RecordingFrameHost host;
    std::unique_ptr<CaptureFrameWindow> window;
};

} // namespace

TEST_F(CaptureFrame, FirstStartIsAQuarterInAndHalfTheScreen)
{
    CaptureFrameWindow form(fakes.platform, host);
    EXPECT_EQ(form.borderWidth(), 14); // 96 pixels per inch
    EXPECT_EQ(form.geometry(), QRect(480, 270, 960, 540));
    EXPECT_EQ(form.captureRect(), Rect::fromSize(494, 284, 932, 512));
    EXPECT_EQ(form.units(), MeasureUnit::Pixels);
    EXPECT_EQ(form.markedUnit(), MeasureUnit::Pixels);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zentrap Capture Frame"));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(CaptureFrame, GeometryAndUnitAreWrittenAtDestructionAndReadBack)
{
    {
        CaptureFrameWindow form(fakes.platform, host);
        form.setGeometry(-40, 100, 333, 222);
        form.setUnits(MeasureUnit::Centimetres);
    }
    EXPECT_EQ(storedValue("CropLeft"), -40);
    EXPECT_EQ(storedValue("CropTop"), 100);
    EXPECT_EQ(storedValue("CropWidth"), 333);
    EXPECT_EQ(storedValue("CropHeight"), 222);
    EXPECT_EQ(storedValue("FUnits"), 2);
    CaptureFrameWindow again(fakes.platform, host);
    EXPECT_EQ(again.geometry(), QRect(-40, 100, 333, 222));
    EXPECT_EQ(again.units(), MeasureUnit::Centimetres);
    EXPECT_EQ(again.markedUnit(), MeasureUnit::Centimetres);
}

TEST_F(CaptureFrame, AbsurdStoredValuesGiveAUsableFrameAndAnUnknownUnitIsKept)
{
    storeValue("CropLeft", INT_MAX);
    storeValue("CropTop", INT_MIN);
    storeValue("CropWidth", -500);
    storeValue("CropHeight", INT_MAX);
    storeValue("FUnits", 7);
    {
        // The frame's own corrections, then the screens': wholly above the screen, the frame goes
        // to its default place, its height limited to the screen's and moved up to fit.
        CaptureFrameWindow form(fakes.platform, host);
        EXPECT_EQ(form.geometry().topLeft(), QPoint(480, 0));
        EXPECT_EQ(form.width(), 29);
        EXPECT_EQ(form.height(), 1080);
        EXPECT_EQ(form.captureRect().width(), 1);
        EXPECT_EQ(static_cast<int>(form.units()), 7);
        EXPECT_EQ(form.markedUnit(), std::nullopt);
    }
    EXPECT_EQ(storedValue("FUnits"), 7);
}

TEST_F(CaptureFrame, AStoredPlaceThatShowsTooLittleOfTheFrameGoesBackToItsDefault)
{
    // Left 1920 passes the frame's own check (not beyond the width) but shows nothing; a top
    // beyond the height goes back to its default by that check already.
    storeValue("CropLeft", 1920);
    storeValue("CropTop", 1081);
    CaptureFrameWindow form(fakes.platform, host);
    EXPECT_EQ(form.geometry().topLeft(), QPoint(480, 270));
    storeValue("CropLeft", 1888);
    storeValue("CropTop", 100);
    CaptureFrameWindow still(fakes.platform, host);
    EXPECT_EQ(still.geometry().topLeft(), QPoint(1888, 100)) << "32 pixels show";
}

// The band around the hole is 14 pixels at 96 pixels per inch, 18 at 120 and 21 at 144; the
// window's shape leaves out exactly the hole, and shrinking stops at a one-pixel hole.
TEST_F(CaptureFrame, TheBandFollowsTheDensityTheShapeLeavesOutTheHoleAndShrinkingStopsAtOnePixel)
{
    for (auto [dpi, band] : {std::pair{96, 14}, std::pair{120, 18}, std::pair{144, 21}}) {
        SCOPED_TRACE(dpi);
        fakes.platform.pixelsPerInch = dpi;
        CaptureFrameWindow form(fakes.platform, host);
        form.setGeometry(100, 100, 200, 150);
        form.show(); // a hidden widget gets its resize event when shown
        const QRegion shape = form.mask();
        EXPECT_TRUE(shape.contains(QPoint(0, 0)) && shape.contains(QPoint(199, 149)));
        EXPECT_TRUE(shape.contains(QPoint(band - 1, 75)) && !shape.contains(QPoint(band, band)));
        EXPECT_TRUE(shape.contains(QPoint(200 - band, 75)) && !shape.contains(QPoint(199 - band, 75)));
        EXPECT_EQ(QRegion(form.rect()).subtracted(shape), QRegion(band, band, 200 - 2 * band, 150 - 2 * band));
        form.resize(5, 5);
        EXPECT_EQ(form.size(), QSize(2 * band + 1, 2 * band + 1));
        EXPECT_EQ(form.captureRect().width(), 1);
        EXPECT_EQ(form.captureRect().height(), 1);
    }
    EXPECT_TRUE(fakes.messages.messages.empty());
}

TEST_F(CaptureFrame, UnitsMenuItemsSetTheUnit)
{
    CaptureFrameWindow form(fakes.platform, host);
    const QList<QAction*> items = control<QMenu>(form, "unitsMenu").actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Pixels"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Inches"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Centimetres"));
    items[1]->trigger();
    EXPECT_EQ(form.units(), MeasureUnit::Inches);
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
    form.setUnits(MeasureUnit::Pixels);
    EXPECT_EQ(form.units(), MeasureUnit::Pixels);
    EXPECT_TRUE(items[0]->isChecked());
    form.setUnits(MeasureUnit::Pixels); // clicking the marked item keeps it marked
    EXPECT_TRUE(items[0]->isChecked());
}

TEST_F(CaptureFrame, KeysAreForwardedToTheRemoteControl)
{
    CaptureFrameWindow form(fakes.platform, host);
    key(form, Qt::Key_C, Qt::ControlModifier);
    key(form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    key(form, Qt::Key_S, Qt::ControlModifier);
    key(form, Qt::Key_F1, Qt::NoModifier);
    key(form, Qt::Key_F1, Qt::ControlModifier);
    key(form, Qt::Key_F1, Qt::ShiftModifier);
    key(form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(host.commands, (std::vector<Command>{Command::Capture, Command::Save, Command::Help, Command::Help}));
}

TEST_F(CaptureFrame, ClosingAsksTheRemoteControlAndLeavesTheFrameToIt)
{
    CaptureFrameWindow form(fakes.platform, host);
    form.show();
    ASSERT_TRUE(form.isVisible());
    key(form, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(host.commands, std::vector<Command>{Command::Close});
    // A refused close (the exit question answered "No") must not take the frame away.
    EXPECT_TRUE(form.isVisible());
    form.close();
    EXPECT_EQ(host.commands.size(), 2u);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(CaptureFrame, OwnDragMovesTheFrameWithThePointerAndLetsTheHostRepaint)
{
    host.updateRulersOption = true;
    CaptureFrameWindow& form = frameAtTheStart();
    drag(form, {107, 150}, {117, 145}, Qt::LeftButton);
    EXPECT_EQ(form.pos(), QPoint(110, 95));
    moveHeld(form, {127, 160}, Qt::LeftButton);
    EXPECT_EQ(form.pos(), QPoint(120, 110));
    release(form, {130, 161}, Qt::LeftButton);
    EXPECT_EQ(form.pos(), QPoint(123, 111)); // the release moves by its own travel once more
    EXPECT_EQ(host.pendingPaints, 3);
    EXPECT_EQ(form.size(), QSize(300, 200));
    // After the release the pointer no longer drags.
    moveHeld(form, {200, 200}, Qt::NoButton);
    EXPECT_EQ(form.pos(), QPoint(123, 111));
}

TEST_F(CaptureFrame, OwnDragIgnoresOtherButtons)
{
    CaptureFrameWindow& form = frameAtTheStart(false);
    drag(form, {107, 150}, {140, 180}, Qt::MiddleButton);
    EXPECT_EQ(form.pos(), QPoint(100, 100));
}

TEST_F(CaptureFrame, SystemMoveWaitsForTheDragDistance)
{
    host.updateRulersOption = false;
    CaptureFrameWindow& form = frameAtTheStart();
    drag(form, {107, 150}, {108, 150}, Qt::RightButton);
    EXPECT_EQ(form.pos(), QPoint(100, 100));
    // Without a window manager to move it, the frame follows the pointer itself.
    moveHeld(form, {147, 150}, Qt::RightButton);
    EXPECT_EQ(form.pos(), QPoint(140, 100));
    ASSERT_EQ(fakes.windowManager.moves.size(), 1u);
    EXPECT_EQ(fakes.windowManager.moves[0].anchor, (Point{107, 150}));
    EXPECT_EQ(fakes.windowManager.moves[0].button, 3);
    release(form, {147, 150}, Qt::RightButton);
    // Switching the option back restores the own drag, which ignores the right button.
    host.updateRulersOption = true;
    form.applyDragOption();
    drag(form, {147, 150}, {190, 150}, Qt::RightButton);
    EXPECT_EQ(form.pos(), QPoint(140, 100));
}

TEST_F(CaptureFrame, OuterEdgesResizeDownToTheMinimum)
{
    CaptureFrameWindow& form = frameAtTheStart();
    drag(form, {399, 200}, {449, 230}, Qt::LeftButton);
    EXPECT_EQ(form.geometry(), QRect(100, 100, 350, 200));
    release(form, {449, 230}, Qt::LeftButton);

    drag(form, {100, 100}, {1100, 1100}, Qt::LeftButton);
    release(form, {1100, 1100}, Qt::LeftButton);
    EXPECT_EQ(form.geometry(), QRect(421, 271, 29, 29));
    EXPECT_EQ(QRegion(form.rect()).subtracted(form.mask()), QRegion(14, 14, 1, 1));
}

TEST_F(CaptureFrame, PaintsRulersForItsPlaceOnTheScreen)
{
    CaptureFrameWindow form(fakes.platform, host);
    form.setGeometry(81, 63, 300, 200);
    form.show();
    const QRgb black = qRgb(0, 0, 0);
    const QRgb face = form.palette().color(QPalette::Button).rgb();
    QImage shot = form.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(300, 200));
    EXPECT_EQ(shot.pixel(69, 5), black); // screen column 150: a long tick
    EXPECT_EQ(shot.pixel(70, 5), face);
    EXPECT_EQ(shot.pixel(79, 12), black); // column 160: a short tick
    EXPECT_EQ(shot.pixel(79, 5), face);

    form.move(82, 63);
    shot = form.grab().toImage();
    EXPECT_EQ(shot.pixel(68, 5), black); // the ticks stay at the same screen columns
    EXPECT_EQ(shot.pixel(69, 5), face);

    form.setUnits(static_cast<MeasureUnit>(7));
    shot = form.grab().toImage();
    EXPECT_EQ(shot.pixel(68, 5), face);
    EXPECT_EQ(shot.pixel(14, 5), black); // corner marks remain
}

TEST_F(CaptureFrame, PaintsTheGripLookWhenRulersAreOff)
{
    host.showRulersOption = false;
    CaptureFrameWindow form(fakes.platform, host);
    form.setGeometry(81, 63, 300, 200);
    form.show();
    const QImage shot = form.grab().toImage();
    // The pattern repeats from the client origin: (0, 5) of a tile is highlight, (3, 1) shadow.
    EXPECT_EQ(shot.pixel(280, 5), form.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(shot.pixel(283, 1), form.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(shot.pixel(283, 3), form.palette().color(QPalette::Button).rgb());
}

TEST_F(CaptureFrame, TheWindowManagerKeepsItOffTheTaskbarAndAMissingShapeIsReportedOnce)
{
    fakes.windowManager.shapes = false;
    CaptureFrameWindow form(fakes.platform, host);
    form.show();
    form.resize(form.width() + 10, form.height());
    form.resize(form.width() + 10, form.height());
    ASSERT_EQ(fakes.windowManager.skippedTaskbar.size(), 1u);
    EXPECT_EQ(fakes.windowManager.skippedTaskbar[0], static_cast<NativeWindow>(form.winId()));
    EXPECT_EQ(fakes.messages.messages, std::vector<std::string>{"GetDC Error 3"});
}
