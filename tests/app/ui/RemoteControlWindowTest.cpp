#include "app/ui/RemoteControlWindow.h"
#include "app/CaptureFrameLink.h"
#include "app/SkinPicture.h"
#include "app/ui/ViewWindow.h"
#include "common/SettingsStore.h"
#include "platform/Platform.h"
#include "support/FindControl.h"
#include "support/RemoteControlUser.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "support/WindowTestFakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// Fontconfig keeps its caches until the process ends; the sanitizer build would call them leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

QApplication& application()
{
    return testApplication();
}

Bitmap screenPattern(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x5A));
        }
    }
    return b;
}

class FakeFrame : public CaptureFrameLink {
public:
    Rect captureRect() const override { return hole; }
    bool isShown() const override { return shown; }
    void setShown(bool s) override { shown = s; }

    Rect hole = Rect::fromSize(100, 50, 40, 30);
    bool shown = false;
};

// A modal window for the factories: it records its caption, the image it got, whether the
// Capture Frame is shown and whether the owner's tray menu still captures, then closes with `result`.
std::unique_ptr<QDialog> selfClosingDialog(const ModalWindowContext& context, int result, std::vector<std::string>& log,
                                           const std::string& name, FakeFrame& frame)
{
    auto dialog = std::make_unique<QDialog>(&context.owner);
    QDialog* raw = dialog.get();
    QAction& captureItem = RemoteControlUser(context.owner).menuItem("trayMenu", "Capture");
    const Bitmap& image = context.session.image;
    QTimer::singleShot(0, raw, [raw, result, &log, name, &frame, &captureItem, &image] {
        log.push_back(name + " '" + raw->windowTitle().toStdString() + "' " + std::to_string(image.width()) + "x" +
                      std::to_string(image.height()) + " frame " + (frame.shown ? "on" : "off") + " tray " +
                      (captureItem.isEnabled() ? "on" : "off"));
        raw->done(result);
    });
    return dialog;
}

// Runs `act` on the next modal window once it is open.
void whenModalOpens(const std::function<void(QDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal window";
        act(*dialog);
    });
}

class ControlFormTest : public ::testing::Test, public WindowTestFakes {
protected:
    ControlFormTest() : WindowTestFakes(screenPattern(640, 480)) { application(); }

    std::unique_ptr<RemoteControlWindow> makeForm(RemoteWindowFactories windows = {})
    {
        auto form = std::make_unique<RemoteControlWindow>(platform, std::move(windows));
        form->attachFrame(&frame);
        user = std::make_unique<RemoteControlUser>(*form);
        return form;
    }
    RemoteWindowFactories allWindows()
    {
        RemoteWindowFactories w;
        w.save = [this](const ModalWindowContext& o) { return selfClosingDialog(o, 1, log, "save", frame); };
        w.print = [this](const ModalWindowContext& o) { return selfClosingDialog(o, 1, log, "print", frame); };
        w.edit = [this](const ModalWindowContext& o) { return selfClosingDialog(o, editResult, log, "edit", frame); };
        return w;
    }
    void noHide(const char* extra = "")
    {
        userHive.loadText(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                                      "\"HideRemote\"=dword:00000000\n") +
                          extra);
    }
    // The global hotkeys are on: all five are registered with the desktop.
    bool hotkeysOn() const { return fakes.hotkeys.registered.size() == 5; }
    // The picture on the clipboard (the fake keeps the last one placed).
    const Bitmap& clipboardPicture() const
    {
        EXPECT_TRUE(clipboard.content.has_value());
        static const Bitmap none;
        return clipboard.content ? *clipboard.content : none;
    }

    FakeFrame frame;
    std::unique_ptr<RemoteControlUser> user;
    std::vector<std::string> log;
    int editResult = kEditResultClose;
};

} // namespace

TEST_F(ControlFormTest, StartsCentredWithTheImageCommandsDisabled)
{
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle(), "Zentrap Remote Control");
    EXPECT_EQ(form->size(), QSize(100, 260));
    EXPECT_EQ(form->pos(), QPoint(270, 110));
    ASSERT_EQ(user->thumbnail().size(), QSize(80, 80));
    EXPECT_EQ(user->thumbnail().pixelColor(40, 40), QColor(0, 0, 0)) << "an empty black image";
    for (const char* name : {"printButton", "editButton", "saveButton"}) {
        EXPECT_FALSE(user->button(name).isEnabled()) << name;
    }
    EXPECT_FALSE(user->menuItem("trayMenu", "Save As...").isEnabled());
    EXPECT_TRUE(user->button("captureButton").isEnabled());
    EXPECT_EQ(user->button("captureButton").geometry(), QRect(10, 144, 80, 22));
    EXPECT_EQ(user->button("captureButton").toolTip(), "Capture (Ctrl+C)");
    EXPECT_EQ(user->button("closeButton").toolTip(), "Close (Alt+F4)");
    EXPECT_EQ(form->mask().boundingRect(), QRect(0, 0, 100, 260));
    EXPECT_FALSE(form->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(form->mask().contains(QPoint(0, 100)));
}

// A stored place that shows less than 32 pixels of the window on every screen would leave it
// unreachable: it goes back to the centre of the primary screen.
TEST_F(ControlFormTest, AStoredPlaceOffEveryScreenGoesBackToTheCentre)
{
    screen.areas = std::vector<Rect>{Rect::fromSize(0, 0, 640, 450), Rect::fromSize(640, 0, 800, 600)};
    struct Case {
        int left, top;
        QPoint expected;
    } cases[] = {
        {5000, 5000, {270, 110}}, // far beyond both screens
        {-68, 10, {-68, 10}},     // 32 pixels still show
        {-69, 10, {270, 110}},    // 31 do not
        {1300, 300, {1300, 300}}, // on the second screen
        {100, 420, {270, 110}},   // 30 pixels above the primary's panel
    };
    for (const Case& c : cases) {
        char values[128];
        std::snprintf(values, sizeof values, "\"Left\"=dword:%08x\n\"Top\"=dword:%08x\n", static_cast<uint32_t>(c.left),
                      static_cast<uint32_t>(c.top));
        noHide(values);
        auto form = makeForm();
        EXPECT_EQ(form->pos(), c.expected) << c.left << "," << c.top;
    }
}

TEST_F(ControlFormTest, ShowHintOffLeavesTheControlsWithoutTooltipsUntilPreferencesTurnsThemOn)
{
    noHide("\"ShowHint\"=dword:00000000\n");
    auto form = makeForm();
    QToolButton& capture = user->button("captureButton");
    QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), capture.mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(&capture, &hover);
    EXPECT_FALSE(QToolTip::isVisible()) << QToolTip::text().toStdString();
    whenModalOpens([](QDialog& preferences) {
        preferences.findChild<QCheckBox*>("cbHints")->setChecked(true);
        preferences.findChild<QPushButton*>("OK")->click();
    });
    user->click("preferencesButton");
    QApplication::sendEvent(&capture, &hover);
    EXPECT_EQ(QToolTip::text(), "Capture (Ctrl+C)") << "the tooltip comes back with the option";
    QToolTip::hideText();
}

// The capture itself is tested without the window (CaptureFlowTest); here, what the window shows of it.
TEST_F(ControlFormTest, ACaptureReachesClipboardThumbnailAndSaveAsAndAnUnreadableScreenIsToldOnce)
{
    noHide();
    auto form = makeForm(allWindows());
    user->click("captureButton");
    const Bitmap& shot = clipboardPicture();
    ASSERT_EQ(shot.width(), 40);
    ASSERT_EQ(shot.height(), 30);
    EXPECT_EQ(shot.pixelColor(0, 0), makeColor(100, 50, 0x5A));
    EXPECT_EQ(shot.pixelColor(39, 29), makeColor(139, 79, 0x5A));
    EXPECT_EQ(qBlue(user->thumbnail().pixel(40, 40)), 0x5A) << "the thumbnail shows the capture";
    for (const char* name : {"printButton", "editButton", "saveButton"}) {
        EXPECT_TRUE(user->button(name).isEnabled()) << name;
    }
    EXPECT_TRUE(user->menuItem("trayMenu", "Save As...").isEnabled());

    const QImage lastThumbnail = user->thumbnail();
    screen.refusal = "the desktop keeps it";
    user->click("captureButton");
    user->press(Qt::Key_C);
    EXPECT_EQ(clipboard.placements, 1);
    EXPECT_EQ(user->thumbnail(), lastThumbnail) << "no black picture in place of the last capture";
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Zentrap cannot capture the screen: the desktop keeps it."});
    user->click("saveButton");
    EXPECT_EQ(log, std::vector<std::string>{"save 'Zentrap Save As' 40x30 frame off tray off"});
}

TEST_F(ControlFormTest, CommandsWithoutTheirWindowStayDisabledAfterACapture)
{
    noHide();
    auto form = makeForm();
    user->click("captureButton");
    EXPECT_EQ(clipboard.placements, 1);
    EXPECT_FALSE(user->button("saveButton").isEnabled());
    EXPECT_FALSE(user->menuItem("trayMenu", "Save As...").isEnabled());
    EXPECT_TRUE(user->button("preferencesButton").isEnabled()) << "Preferences needs no capture";
}

TEST_F(ControlFormTest, FullScreenModeGrabsTheWholeScreenAndHidesTheFrame)
{
    noHide();
    auto form = makeForm();
    frame.shown = true;
    user->press(Qt::Key_F);
    EXPECT_TRUE(user->button("fullScreenButton").isChecked());
    EXPECT_FALSE(frame.shown);
    user->click("captureButton");
    EXPECT_TRUE(clipboardPicture() == screen.pixels);
    user->press(Qt::Key_F);
    EXPECT_FALSE(user->button("fullScreenButton").isChecked());
    EXPECT_TRUE(frame.shown);
}

TEST_F(ControlFormTest, HideRemoteHidesTheWindowOnlyWhileItCoversTheGrabbedRectangle)
{
    auto form = makeForm();
    form->show();
    bool hiddenDuringWait = false;
    fakes.clock.onWait = [&](int) { hiddenDuringWait = !form->isVisible(); };

    // Beside the hole (the window stands at 270,110, 100 x 260): it stays, and nothing waits.
    user->click("captureButton");
    EXPECT_TRUE(fakes.clock.waits.empty());
    EXPECT_EQ(fakes.uncoverWatch.starts, 0) << "the window was taken off the screen";
    EXPECT_EQ(clipboardPicture().width(), 40);

    // Over part of the hole: hidden until the area it covered is repainted, then shown again.
    frame.hole = Rect::fromSize(250, 100, 200, 100);
    user->click("captureButton");
    EXPECT_TRUE(hiddenDuringWait);
    EXPECT_EQ(fakes.uncoverWatch.watchedArea, (Rect{270, 110, 370, 200}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(frame.shown) << "showing the Remote Control shows the frame too";
    EXPECT_EQ(clipboardPicture().width(), 200);
}

TEST_F(ControlFormTest, TimerDownDelaysTheCapture)
{
    noHide();
    auto form = makeForm();
    user->press(Qt::Key_T);
    EXPECT_TRUE(user->button("timerButton").isChecked());
    user->click("captureButton");
    EXPECT_EQ(clipboard.placements, 0) << "the countdown runs first";
    EXPECT_EQ(screen.pixelCopies, 0);
    user->press(Qt::Key_T);
    EXPECT_FALSE(user->button("timerButton").isChecked());
    user->click("captureButton");
    EXPECT_EQ(clipboard.placements, 1);
}

TEST_F(ControlFormTest, KeysFollowTheTable)
{
    noHide();
    auto form = makeForm();
    user->press(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(screen.pixelCopies, 0) << "Ctrl+Alt+C does nothing";
    user->press(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(help.contents.empty());
    user->press(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(help.contents, std::vector<std::string>{"/opt/zentrap/ztp.chm"});
    user->press(Qt::Key_C);
    EXPECT_GT(screen.pixelCopies, 0);
}

TEST_F(ControlFormTest, EditKeepsTheEditorsImageAndContinuesWithSaveAs)
{
    noHide();
    editResult = kEditResultSave;
    RemoteWindowFactories windows = allWindows();
    windows.edit = [this](const ModalWindowContext& context) {
        context.session.editImage->setSize(20, 10);
        return selfClosingDialog(context, editResult, log, "edit", frame);
    };
    auto form = makeForm(windows);
    user->click("captureButton");
    frame.shown = true;
    user->click("editButton");
    EXPECT_EQ(log, (std::vector<std::string>{"edit 'Image Editor' 40x30 frame off tray off",
                                             "save 'Zentrap Save As' 20x10 frame off tray off"}));
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(user->menuItem("trayMenu", "Capture").isEnabled());
    EXPECT_TRUE(hotkeysOn());
}

TEST_F(ControlFormTest, AFailingWindowIsReportedAndEverythingComesBack)
{
    noHide();
    RemoteWindowFactories windows = allWindows();
    windows.print = [](const ModalWindowContext&) -> std::unique_ptr<QDialog> {
        throw std::runtime_error("Printer error");
    };
    auto form = makeForm(windows);
    user->click("captureButton");
    frame.shown = true;
    user->click("printButton");
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Printer error"});
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(hotkeysOn());
    EXPECT_TRUE(user->menuItem("trayMenu", "Capture").isEnabled());
    EXPECT_TRUE(user->menuItem("trayMenu", "Print...").isEnabled());
}

TEST_F(ControlFormTest, ADoubleClickOnTheThumbnailViewsTheImageAndItsSize)
{
    auto form = makeForm();
    QString status;
    QString title;
    QSize picture;
    whenModalOpens([&](QDialog& view) {
        title = view.windowTitle();
        status = control<QStatusBar>(view, "statusBar").currentMessage();
        picture = control<QLabel>(view, "image").size();
        view.reject();
    });
    frame.shown = true;
    user->doubleClickThumbnail();
    EXPECT_EQ(title, "Zentrap View");
    EXPECT_EQ(status, "Image size: 80 x 80");
    EXPECT_EQ(picture, QSize(80, 80));
    EXPECT_TRUE(frame.shown);
    EXPECT_EQ(ViewWindow::imageSizeText(640, 480), "Image size: 640 x 480");
}

TEST_F(ControlFormTest, DestructionWritesTheValuesItHolds)
{
    noHide();
    {
        auto form = makeForm();
        form->move(-30, 12);
        whenModalOpens([](QDialog& preferences) {
            preferences.findChild<QCheckBox*>("cbCursor")->setChecked(false);
            preferences.findChild<QCheckBox*>("cbEnableHotkeys")->setChecked(false);
            preferences.findChild<QPushButton*>("OK")->click();
        });
        user->click("preferencesButton");
    }
    const auto value = [&](const char* name) { return userHive.value(SettingsStore::kPrimaryKey, name); };
    EXPECT_EQ(value("Left"), RegValue(uint32_t(-30)));
    EXPECT_EQ(value("Top"), RegValue(uint32_t(12)));
    EXPECT_EQ(value("FCursor"), RegValue(uint32_t(0)));
    EXPECT_EQ(value("HideRemote"), RegValue(uint32_t(0)));
    EXPECT_EQ(value("GlobalHotkeys"), RegValue(uint32_t(0)));
    EXPECT_EQ(value("FGlobalHotkeys"), RegValue(uint32_t(0)));
    EXPECT_EQ(value("Skin"), RegValue(std::string()));
    EXPECT_EQ(value("FHKPrint"), RegValue(uint32_t(0x6050)));
    EXPECT_EQ(help.closeAllCalls, 1);
}

TEST_F(ControlFormTest, ThumbnailShowsAWideCaptureAsABandOnBlack)
{
    noHide();
    frame.hole = Rect::fromSize(0, 0, 400, 100);
    screen.pixels.fillRect({0, 0, 400, 100}, makeColor(250, 200, 10));
    auto form = makeForm();
    user->click("captureButton");
    const QImage& thumb = user->thumbnail();
    ASSERT_EQ(thumb.size(), QSize(80, 80));
    EXPECT_EQ(thumb.pixelColor(40, 29), QColor(0, 0, 0));
    EXPECT_EQ(thumb.pixelColor(0, 30), QColor(250, 200, 10));
    EXPECT_EQ(thumb.pixelColor(79, 49), QColor(250, 200, 10));
    EXPECT_EQ(thumb.pixelColor(40, 50), QColor(0, 0, 0));
}

TEST_F(ControlFormTest, PrintWithoutAWindowLeavesTheTrayMenuAndRestoresTheFrame)
{
    noHide();
    RemoteWindowFactories windows = allWindows();
    bool trayDuringCheck = false;
    windows.print = [&](const ModalWindowContext& context) -> std::unique_ptr<QDialog> {
        trayDuringCheck = RemoteControlUser(context.owner).menuItem("trayMenu", "Capture").isEnabled();
        messages.showMessage("No printer installed");
        return nullptr;
    };
    auto form = makeForm(windows);
    user->click("captureButton");
    frame.shown = true;
    user->press(Qt::Key_P);
    EXPECT_TRUE(trayDuringCheck) << "the tray menu stays enabled when there is no window";
    EXPECT_EQ(messages.messages, std::vector<std::string>{"No printer installed"});
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(hotkeysOn());
}

TEST_F(ControlFormTest, TimerCountdownCapturesAfterSevenSecondsAndPutsTheButtonUp)
{
    noHide();
    auto form = makeForm();
    user->click("timerButton");
    ASSERT_TRUE(user->button("timerButton").isChecked());
    FakeClock& clock = fakes.clock;
    long long capturedAt = -1;
    clock.onWait = [&](int) { EXPECT_EQ(clipboard.placements, 0) << "the capture follows the last wait"; };
    user->click("captureButton");
    while (clipboard.placements == 0 && clock.now() < 9000) {
        clock.advance(50);
        if (clipboard.placements != 0) {
            capturedAt = clock.now();
        }
    }
    EXPECT_EQ(clipboard.placements, 1);
    EXPECT_GE(capturedAt, 7100) << "seven seconds and the final tenth";
    EXPECT_LE(capturedAt, 7150);
    EXPECT_FALSE(user->button("timerButton").isChecked());
    EXPECT_EQ(screen.pixelCopies, 1);
}

TEST_F(ControlFormTest, SkinsShowAtTheirOwnSizeAndUnusableOnesWarnOverTheWindow)
{
    TempFolder folder;
    const std::string missing = (folder.path / "gone.bmp").string();
    userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"Skin\"=\"" + missing + "\"\n");
    auto form = makeForm();
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_EQ(messages.warnings[0].caption, "Warning");
    EXPECT_EQ(messages.warnings[0].text, skinWarningText(missing));
    EXPECT_EQ(messages.warnings[0].owner, form.get());
    const QImage builtIn = form->grab().toImage();
    EXPECT_LT(qGray(builtIn.pixel(50, 69)), 16) << "the dark square behind the thumbnail";
    EXPECT_GT(qGreen(builtIn.pixel(5, 100)), qRed(builtIn.pixel(5, 100)) + 40) << "a teal body";

    // Skins chosen in Preferences.
    const auto useSkin = [&](const std::string& path) {
        whenModalOpens([path](QDialog& preferences) {
            preferences.findChild<QLineEdit*>("edSkin")->setText(QString::fromStdString(path));
            preferences.findChild<QPushButton*>("OK")->click();
        });
        user->click("preferencesButton");
    };
    QImage small(80, 200, QImage::Format_RGB32);
    small.fill(qRgb(200, 30, 90));
    const std::string smallPath = (folder.path / "small.bmp").string();
    ASSERT_TRUE(small.save(QString::fromStdString(smallPath), "BMP"));
    useSkin(smallPath);
    const QImage shown = form->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 100), qRgb(200, 30, 90));
    EXPECT_EQ(QColor(shown.pixel(94, 100)), form->palette().color(QPalette::Button)) << "beside the smaller skin";
    EXPECT_EQ(QColor(shown.pixel(50, 230)), form->palette().color(QPalette::Button)) << "below it";

    // An empty path keeps the body; an unusable file keeps it after its warning.
    useSkin("");
    const std::string broken = (folder.path / "broken.jpg").string();
    std::ofstream(broken) << "not a picture";
    useSkin(broken);
    ASSERT_EQ(messages.warnings.size(), 2u);
    EXPECT_EQ(messages.warnings[1].text, skinWarningText(broken));
    EXPECT_TRUE(form->grab().toImage() == shown);
}

TEST_F(ControlFormTest, PreferencesCancelChangesNothingAndOkAppliesWithTheHotkeysAsChosen)
{
    auto form = makeForm();
    frame.shown = true;
    ASSERT_TRUE(hotkeysOn());
    ASSERT_TRUE(fakes.keyWatcher.isRunning());
    const std::map<int, Shortcut> shortcutsBefore = fakes.hotkeys.registered;
    // Unticks "Use PrintScreen key" and "Enable hotkeys", then presses `button`.
    auto answer = [&](const char* button) {
        whenModalOpens([&, button](QDialog& dialog) {
            log.push_back(dialog.windowTitle().toStdString() + (frame.shown ? " frame on" : " frame off") +
                          (fakes.hotkeys.registered.empty() ? " hotkeys off" : " hotkeys on"));
            dialog.findChild<QCheckBox*>("cbPrintScreen")->setChecked(false);
            dialog.findChild<QCheckBox*>("cbEnableHotkeys")->setChecked(false);
            dialog.findChild<QPushButton*>(button)->click();
        });
    };
    answer("Cancel");
    user->press(Qt::Key_O);
    EXPECT_EQ(log, std::vector<std::string>{"Zentrap Preferences frame off hotkeys off"});
    EXPECT_EQ(fakes.hotkeys.registered, shortcutsBefore) << "back on with their old shortcuts";
    EXPECT_TRUE(fakes.keyWatcher.isRunning());
    EXPECT_TRUE(frame.shown);

    answer("OK");
    user->click("preferencesButton");
    EXPECT_TRUE(fakes.hotkeys.registered.empty()) << "the bracket must not switch them back on";
    EXPECT_FALSE(fakes.keyWatcher.isRunning());
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(user->menuItem("trayMenu", "Capture").isEnabled());
}

TEST_F(ControlFormTest, ADragPastTheDistanceMovesTheWindowFromThePressAndMinimizeAsksTheWindowManager)
{
    FakeWindowManager& windowManager = fakes.windowManager;
    auto form = makeForm();
    form->show();
    const QPoint press(50, 230);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(form->mapToGlobal(at)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &event);
    };
    send(QEvent::MouseButtonPress, press, Qt::LeftButton);
    // Short of the drag distance nothing moves; the first step past it starts the move.
    for (int step = 1; windowManager.moves.empty() && step <= QApplication::startDragDistance() + 1; ++step) {
        EXPECT_LT(step, QApplication::startDragDistance() + 1);
        send(QEvent::MouseMove, press + QPoint(step, 0), Qt::LeftButton);
    }
    ASSERT_EQ(windowManager.moves.size(), 1u);
    const QPoint anchor = form->mapToGlobal(press);
    EXPECT_EQ(windowManager.moves[0].anchor, (Point{anchor.x(), anchor.y()}));
    EXPECT_EQ(windowManager.moves[0].button, 1);
    EXPECT_EQ(windowManager.moves[0].window, form->winId());
    send(QEvent::MouseMove, press + QPoint(30, 0), Qt::LeftButton);
    EXPECT_EQ(windowManager.moves.size(), 1u) << "one move per press";

    user->choose("systemMenu", "Minimize");
    EXPECT_EQ(windowManager.minimized, std::vector<NativeWindow>{form->winId()});
}
