#include "app/ui/RemoteControlWindow.h"
#include "app/CaptureFrameLink.h"
#include "app/SkinPicture.h"
#include "app/ui/ThumbnailBox.h"
#include "app/ui/ViewWindow.h"
#include "common/SettingsStore.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "support/WindowTestFakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdio>

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

// The Remote Control's menus, seen from a modal window it opens.
RemoteControlMenus& ownerMenus(const ModalWindowContext& context)
{
    return static_cast<RemoteControlWindow&>(context.owner).menus();
}

// A modal window for the factories: it records what it saw and closes itself with `result`.
std::unique_ptr<QDialog> selfClosingDialog(const ModalWindowContext& context, int result, std::vector<std::string>& log,
                                           const std::string& name, FakeFrame& frame)
{
    auto dialog = std::make_unique<QDialog>(&context.owner);
    QDialog* raw = dialog.get();
    RemoteControlMenus& menus = ownerMenus(context);
    QTimer::singleShot(0, raw, [raw, result, &log, name, &frame, &menus] {
        log.push_back(name + " '" + raw->windowTitle().toStdString() + "' frame " + (frame.shown ? "on" : "off") +
                      " tray " + (menus.captureItem->isEnabled() ? "on" : "off"));
        raw->done(result);
    });
    return dialog;
}

class ControlFormTest : public ::testing::Test, public WindowTestFakes {
protected:
    ControlFormTest() : WindowTestFakes(screenPattern(640, 480)) { application(); }

    std::unique_ptr<RemoteControlWindow> makeForm(RemoteWindowFactories windows = {})
    {
        auto form = std::make_unique<RemoteControlWindow>(platform, std::move(windows));
        form->attachFrame(&frame);
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
    void press(RemoteControlWindow& form, int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&form, &event);
    }
    void noHide(const char* extra = "")
    {
        userHive.loadText(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                                      "\"HideRemote\"=dword:00000000\n") +
                          extra);
    }

    FakeFrame frame;
    std::vector<std::string> log;
    int editResult = EditResultClose;
};

} // namespace

TEST_F(ControlFormTest, StartsCentredWithTheImageCommandsDisabled)
{
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle(), "Zentrap Remote Control");
    EXPECT_EQ(form->size(), QSize(100, 260));
    EXPECT_EQ(form->pos(), QPoint(270, 110));
    EXPECT_EQ(form->session().image.width(), 80);
    EXPECT_EQ(form->session().image.height(), 80);
    EXPECT_EQ(form->session().image.pixelColor(40, 40), makeColor(0, 0, 0));
    EXPECT_FALSE(form->session().notSaved);
    EXPECT_EQ(form->session().captureNumber, 1);
    EXPECT_EQ(form->helpFilePath(), "/opt/zentrap/ztp.chm");
    for (const char* name : {"sbPrint", "sbEdit", "sbSave"}) {
        ASSERT_NE(form->button(name), nullptr) << name;
        EXPECT_FALSE(form->button(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(form->button("sbRecord")->isEnabled());
    EXPECT_EQ(form->button("sbRecord")->geometry(), QRect(10, 144, 80, 22));
    EXPECT_EQ(form->button("sbRecord")->toolTip(), "Capture (Ctrl+C)");
    EXPECT_EQ(form->button("SpeedButton3")->toolTip(), "Close (Alt+F4)");
    EXPECT_FALSE(form->menus().saveItem->isEnabled());
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

TEST_F(ControlFormTest, ShowHintOffLeavesTheControlsWithoutTooltips)
{
    noHide("\"ShowHint\"=dword:00000000\n");
    auto form = makeForm();
    EXPECT_TRUE(form->button("sbRecord")->toolTip().isEmpty());
}

TEST_F(ControlFormTest, CaptureCopiesTheHoleToImageClipboardAndThumbnail)
{
    noHide();
    auto form = makeForm(allWindows());
    form->runCommand(Command::Capture);
    ASSERT_EQ(form->session().image.width(), 40);
    ASSERT_EQ(form->session().image.height(), 30);
    EXPECT_EQ(form->session().image.pixelColor(0, 0), makeColor(100, 50, 0x5A));
    EXPECT_EQ(form->session().image.pixelColor(39, 29), makeColor(139, 79, 0x5A));
    ASSERT_TRUE(clipboard.content.has_value());
    EXPECT_TRUE(*clipboard.content == form->session().image);
    EXPECT_TRUE(form->session().notSaved);
    for (const char* name : {"sbPrint", "sbEdit", "sbSave"}) {
        EXPECT_TRUE(form->button(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(form->menus().saveItem->isEnabled());
}

TEST_F(ControlFormTest, AScreenThatGivesNoPixelsKeepsTheLastCaptureAndSaysWhyOnce)
{
    noHide();
    auto form = makeForm(allWindows());
    form->runCommand(Command::Capture);
    const Bitmap last = form->session().image;
    form->session().notSaved = false;
    clipboard.content.reset();
    screen.refusal = "the desktop keeps it";
    form->runCommand(Command::Capture);
    form->runCommand(Command::Capture);
    EXPECT_TRUE(form->session().image == last) << "no black picture in place of the last capture";
    EXPECT_FALSE(clipboard.content.has_value());
    EXPECT_FALSE(form->session().notSaved);
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Zentrap cannot capture the screen: the desktop keeps it."});
}

TEST_F(ControlFormTest, CommandsWithoutTheirWindowStayDisabledAfterACapture)
{
    noHide();
    auto form = makeForm();
    form->runCommand(Command::Capture);
    EXPECT_TRUE(form->session().notSaved);
    EXPECT_FALSE(form->button("sbSave")->isEnabled());
    EXPECT_FALSE(form->menus().saveItem->isEnabled());
    EXPECT_TRUE(form->button("sbPreferences")->isEnabled()) << "Preferences needs no capture";
    press(*form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(log.empty());
}

TEST_F(ControlFormTest, FullScreenModeGrabsTheWholeScreenAndHidesTheFrame)
{
    noHide();
    auto form = makeForm();
    frame.shown = true;
    press(*form, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(form->fullScreenMode());
    EXPECT_FALSE(frame.shown);
    form->runCommand(Command::Capture);
    EXPECT_EQ(form->session().image.width(), 640);
    EXPECT_EQ(form->session().image.height(), 480);
    EXPECT_TRUE(form->session().image == screen.pixels);
    press(*form, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(frame.shown);
}

TEST_F(ControlFormTest, HideRemoteHidesTheWindowOnlyWhileItCoversTheGrabbedRectangle)
{
    auto form = makeForm();
    form->show();
    bool hiddenDuringWait = false;
    fakes.clock.onWait = [&](int) { hiddenDuringWait = !form->isVisible() && form->isCapturing(); };

    // Beside the hole (the window stands at 270,110, 100 x 260): it stays, and nothing waits.
    form->runCommand(Command::Capture);
    EXPECT_TRUE(fakes.clock.waits.empty());
    EXPECT_EQ(fakes.uncoverWatch.starts, 0) << "the window was taken off the screen";
    EXPECT_EQ(form->session().image.width(), 40);

    // Over part of the hole: hidden until the area it covered is repainted, then shown again.
    frame.hole = Rect::fromSize(250, 100, 200, 100);
    form->runCommand(Command::Capture);
    EXPECT_TRUE(hiddenDuringWait);
    EXPECT_EQ(fakes.uncoverWatch.watchedArea, (Rect{270, 110, 370, 200}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(frame.shown) << "showing the Remote Control shows the frame too";
    EXPECT_EQ(form->session().image.width(), 200);
}

TEST_F(ControlFormTest, TimerDownDelaysTheCapture)
{
    noHide();
    auto form = makeForm();
    press(*form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(form->timerDown());
    form->runCommand(Command::Capture);
    EXPECT_FALSE(form->session().notSaved) << "the countdown runs first";
    EXPECT_EQ(screen.pixelCopies, 0);
    press(*form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(form->timerDown());
    form->runCommand(Command::Capture);
    EXPECT_TRUE(form->session().notSaved);
}

TEST_F(ControlFormTest, KeysFollowTheTable)
{
    noHide();
    auto form = makeForm();
    press(*form, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(screen.pixelCopies, 0) << "Ctrl+Alt+C does nothing";
    press(*form, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(help.contents.empty());
    press(*form, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(help.contents, std::vector<std::string>{"/opt/zentrap/ztp.chm"});
    press(*form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_GT(screen.pixelCopies, 0);
}

TEST_F(ControlFormTest, EditKeepsTheEditorsImageAndContinuesWithSaveAs)
{
    noHide();
    editResult = EditResultSave;
    RemoteWindowFactories windows = allWindows();
    windows.edit = [this](const ModalWindowContext& context) {
        context.session.editImage->setSize(20, 10);
        return selfClosingDialog(context, editResult, log, "edit", frame);
    };
    auto form = makeForm(windows);
    form->runCommand(Command::Capture);
    frame.shown = true;
    form->runCommand(Command::Edit);
    EXPECT_EQ(log, (std::vector<std::string>{"edit 'Image Editor' frame off tray off",
                                             "save 'Zentrap Save As' frame off tray off"}));
    EXPECT_EQ(form->session().image.width(), 20);
    EXPECT_EQ(form->session().editImage, nullptr);
    EXPECT_EQ(form->session().undoImage, nullptr);
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(form->menus().captureItem->isEnabled());
    EXPECT_TRUE(form->hotkeysEnabled());
}

TEST_F(ControlFormTest, AFailingWindowIsReportedAndEverythingComesBack)
{
    noHide();
    RemoteWindowFactories windows = allWindows();
    windows.print = [](const ModalWindowContext&) -> std::unique_ptr<QDialog> {
        throw std::runtime_error("Printer error");
    };
    auto form = makeForm(windows);
    form->runCommand(Command::Capture);
    frame.shown = true;
    form->runCommand(Command::Print);
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Printer error"});
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(form->hotkeysEnabled());
    EXPECT_TRUE(form->menus().captureItem->isEnabled());
    EXPECT_TRUE(form->menus().printItem->isEnabled());
}

TEST_F(ControlFormTest, ViewShowsTheImageAndItsSize)
{
    auto form = makeForm();
    QString status;
    QString title;
    QSize picture;
    QTimer::singleShot(0, form.get(), [&] {
        auto* view = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(view, nullptr);
        title = view->windowTitle();
        status = static_cast<ViewWindow*>(view)->statusText();
        picture = static_cast<ViewWindow*>(view)->imageLabel()->size();
        view->reject();
    });
    frame.shown = true;
    form->runCommand(Command::View);
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
        form->settings().captureCursor = false;
        form->setHotkeysEnabled(false);
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
    form->runCommand(Command::Capture);
    const QImage& thumb = form->findChild<ThumbnailBox*>("PaintBox1")->picture();
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
        trayDuringCheck = ownerMenus(context).captureItem->isEnabled();
        messages.showMessage("No printer installed");
        return nullptr;
    };
    auto form = makeForm(windows);
    form->runCommand(Command::Capture);
    frame.shown = true;
    press(*form, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(trayDuringCheck) << "the tray menu stays enabled when there is no window";
    EXPECT_EQ(messages.messages, std::vector<std::string>{"No printer installed"});
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(form->hotkeysEnabled());
}

TEST_F(ControlFormTest, TimerCountdownCapturesAfterSevenSecondsAndPutsTheButtonUp)
{
    noHide();
    auto form = makeForm();
    form->button("sbTimer")->click();
    ASSERT_TRUE(form->timerDown());
    FakeClock& clock = fakes.clock;
    long long capturedAt = -1;
    clock.onWait = [&](int) { EXPECT_FALSE(form->session().notSaved) << "the capture follows the last wait"; };
    form->runCommand(Command::Capture);
    while (!form->session().notSaved && clock.now() < 9000) {
        clock.advance(50);
        if (form->session().notSaved) {
            capturedAt = clock.now();
        }
    }
    EXPECT_TRUE(form->session().notSaved);
    EXPECT_GE(capturedAt, 7100) << "seven seconds and the final tenth";
    EXPECT_LE(capturedAt, 7150);
    EXPECT_FALSE(form->timerDown());
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
    EXPECT_EQ(form->bodySize(), QSize(100, 260));
    const QImage builtIn = form->grab().toImage();
    EXPECT_LT(qGray(builtIn.pixel(50, 69)), 16) << "the dark square behind the thumbnail";
    EXPECT_GT(qGreen(builtIn.pixel(5, 100)), qRed(builtIn.pixel(5, 100)) + 40) << "a teal body";

    QImage small(80, 200, QImage::Format_RGB32);
    small.fill(qRgb(200, 30, 90));
    const std::string smallPath = (folder.path / "small.bmp").string();
    ASSERT_TRUE(small.save(QString::fromStdString(smallPath), "BMP"));
    form->loadSkin(smallPath);
    EXPECT_EQ(form->bodySize(), QSize(80, 200));
    const QImage shown = form->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 100), qRgb(200, 30, 90));
    EXPECT_EQ(QColor(shown.pixel(94, 100)), form->palette().color(QPalette::Button));
    EXPECT_EQ(QColor(shown.pixel(50, 230)), form->palette().color(QPalette::Button));

    // An empty path keeps the body; an unusable file keeps it after its warning.
    form->loadSkin("");
    const std::string broken = (folder.path / "broken.jpg").string();
    std::ofstream(broken) << "not a picture";
    form->loadSkin(broken);
    EXPECT_EQ(form->bodySize(), QSize(80, 200));
    ASSERT_EQ(messages.warnings.size(), 2u);
    EXPECT_EQ(messages.warnings[1].text, skinWarningText(broken));
    EXPECT_EQ(form->grab().toImage().pixel(5, 100), qRgb(200, 30, 90));
}

TEST_F(ControlFormTest, PreferencesCancelChangesNothingAndOkAppliesWithTheHotkeysAsChosen)
{
    auto form = makeForm();
    frame.shown = true;
    ASSERT_TRUE(form->hotkeysEnabled());
    const RemoteControlSettings before = form->currentSettings();
    // Unticks "Use PrintScreen key" and "Enable hotkeys", then presses `button`.
    auto answer = [&](const char* button) {
        QTimer::singleShot(0, [&, button] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            log.push_back(dialog->windowTitle().toStdString() + (frame.shown ? " frame on" : " frame off") +
                          (form->hotkeysEnabled() ? " hotkeys on" : " hotkeys off"));
            dialog->findChild<QCheckBox*>("cbPrintScreen")->setChecked(false);
            dialog->findChild<QCheckBox*>("cbEnableHotkeys")->setChecked(false);
            dialog->findChild<QPushButton*>(button)->click();
        });
    };
    answer("Cancel");
    press(*form, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(log, std::vector<std::string>{"Zentrap Preferences frame off hotkeys off"});
    EXPECT_TRUE(form->hotkeysEnabled());
    EXPECT_TRUE(form->settings().usePrintScreen);
    EXPECT_TRUE(frame.shown);
    EXPECT_EQ(form->currentSettings().hkCapture, before.hkCapture);

    answer("OK");
    form->button("sbPreferences")->click();
    EXPECT_FALSE(form->hotkeysEnabled()) << "the bracket must not switch them back on";
    EXPECT_FALSE(form->settings().usePrintScreen);
    EXPECT_FALSE(fakes.keyWatcher.isRunning());
    EXPECT_TRUE(frame.shown);
    EXPECT_TRUE(form->menus().captureItem->isEnabled());
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

    form->runCommand(Command::MinimizeRestore);
    EXPECT_EQ(windowManager.minimized, std::vector<NativeWindow>{form->winId()});
}
