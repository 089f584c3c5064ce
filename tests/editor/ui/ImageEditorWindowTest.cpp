// The Image Editor window with fake services on Qt's offscreen platform: the keys that close it
// and their results, Ctrl+Z, Apply's messages and focus, selecting with the mouse, the painted view,
// and the values it keeps in the settings file.
#include "editor/ui/ImageEditorWindow.h"
#include "common/SettingsFile.h"
#include "editor/TestImages.h"
#include "editor/ui/EditorStatusBar.h"
#include "editor/ui/EditorView.h"
#include "platform/Platform.h"
#include "support/FindControl.h"
#include "support/LayoutAudit.h"
#include "support/TempFolder.h"

#include "support/TestApplication.h"
#include "support/WindowTestFakes.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

QApplication& application()
{
    return testApplication();
}

// The colour dialog answers with a fixed colour.
class TestEditorWindow : public ImageEditorWindow {
public:
    using ImageEditorWindow::ImageEditorWindow;
    std::optional<ColorRef> answer;

protected:
    std::optional<ColorRef> chooseColor(ColorRef) override { return answer; }
};

class ImageEditorWindowTest : public ::testing::Test, public WindowTestFakes {
protected:
    ImageEditorWindowTest() : WindowTestFakes(Bitmap(16, 16))
    {
        application();
        screen.areas = std::vector<Rect>{Rect::fromSize(0, 0, 1920, 1080)};
    }

    std::unique_ptr<TestEditorWindow> open(bool printAvailable = true)
    {
        edit = captured;
        undo = Bitmap();
        auto window = std::make_unique<TestEditorWindow>(platform, ini,
                                                         ImageEditorHost{captured, edit, undo, true, printAvailable});
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
    std::string iniText() const
    {
        std::ifstream in(folder.path / "zentrap.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void typeInto(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    TempFolder folder;
    SettingsFile ini{(folder.path / "zentrap.ini").string()};
    Bitmap captured = testimages::randomImage(120, 90, 11);
    Bitmap edit;
    Bitmap undo;
};

TEST_F(ImageEditorWindowTest, EnterEscAndTheButtonsCloseWithTheirResults)
{
    auto window = open(false);
    EXPECT_EQ(window->windowTitle(), "Image Editor");
    EXPECT_FALSE(control<QPushButton>(*window, "btPrint").isEnabled());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    typeInto(&control<QLineEdit>(*window, "edWidth"), "60");
    EXPECT_EQ(control<QLineEdit>(*window, "edHeight").text(), "45"); // Keep ratio
    QTest::keyClick(&control<QLineEdit>(*window, "edWidth"), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), kEditResultClose);
    EXPECT_EQ(edit, captured); // the typed size was not applied

    window = open();
    QTest::keyClick(&control<QLineEdit>(*window, "edHeight"), Qt::Key_Escape);
    EXPECT_EQ(window->result(), kEditResultClose);
    window = open();
    control<QPushButton>(*window, "btSaveAs").click();
    EXPECT_EQ(window->result(), kEditResultSave);
    window = open();
    control<QPushButton>(*window, "btPrint").click();
    EXPECT_EQ(window->result(), kEditResultPrint);
    window = open();
    control<QPushButton>(*window, "btHelp").click();
    EXPECT_EQ(help.topics, (std::vector<std::string>{"/opt/zentrap/ztp.chm::/HTML/Editing.htm"}));
}

TEST_F(ImageEditorWindowTest, SelectCropAndUndoWithCtrlZ)
{
    auto window = open();
    control<QToolButton>(*window, "sbSelect").click();
    QWidget* area = &control<EditorPaintArea>(*window, "paintArea");
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(70, 60));
    QTest::mouseMove(area, QPoint(40, 30));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    ASSERT_TRUE(control<QToolButton>(*window, "sbCrop").isEnabled());
    EXPECT_NE(edit, captured); // the marks are in the working image
    control<QToolButton>(*window, "sbCrop").click();
    Bitmap expected(60, 40);
    expected.copyRect({0, 0}, captured, {10, 20, 70, 60});
    EXPECT_EQ(edit, expected);
    EXPECT_EQ(control<QLineEdit>(*window, "edWidth").text(), "60");
    EXPECT_TRUE(control<QToolButton>(*window, "sbUndo").isEnabled());
    EXPECT_TRUE(control<QAction>(*window, "miUndo").isEnabled());
    EXPECT_FALSE(control<QAction>(*window, "miUndoAll").isEnabled());

    // Ctrl+Z acts on the release of Z, wherever the focus is.
    control<QLineEdit>(*window, "edHeight").setFocus();
    QTest::keyPress(&control<QLineEdit>(*window, "edHeight"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit, expected);
    QTest::keyRelease(&control<QLineEdit>(*window, "edHeight"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit, captured);
    EXPECT_FALSE(control<QToolButton>(*window, "sbUndo").isEnabled());
    EXPECT_EQ(control<QLineEdit>(*window, "edWidth").text(), "120");
}

TEST_F(ImageEditorWindowTest, ApplyMessagesMoveTheFocus)
{
    auto window = open();
    control<QCheckBox>(*window, "cbKeepRatio").click(); // unticked: the fields are independent
    typeInto(&control<QLineEdit>(*window, "edWidth"), "0");
    control<QLineEdit>(*window, "edHeight").setFocus();
    control<QPushButton>(*window, "btApply").click();
    EXPECT_EQ(messages.messages, (std::vector<std::string>{"Width must be more than zero. Please, correct."}));
    EXPECT_EQ(QApplication::focusWidget(), &control<QLineEdit>(*window, "edWidth"));
    typeInto(&control<QLineEdit>(*window, "edWidth"), "1024");
    typeInto(&control<QLineEdit>(*window, "edHeight"), "750");
    control<QPushButton>(*window, "btApply").click();
    EXPECT_EQ(messages.messages.back(), "New image size is too big. Please, correct.");
    EXPECT_EQ(QApplication::focusWidget(), &control<QLineEdit>(*window, "edWidth"));
    EXPECT_EQ(edit, captured);

    typeInto(&control<QLineEdit>(*window, "edWidth"), "240");
    typeInto(&control<QLineEdit>(*window, "edHeight"), "45");
    control<QPushButton>(*window, "btApply").click();
    EXPECT_EQ(edit.width(), 240);
    EXPECT_EQ(edit.height(), 45);
    EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_F(ImageEditorWindowTest, ViewShowsTheImageOneToOneOnTheBackground)
{
    std::ofstream(folder.path / "zentrap.ini") << "[Edit]\nWidth=300\nHeight=900\nBackground=255\n";
    auto window = open();
    EXPECT_EQ(window->width(), 516); // raised to the minimum at 96 dpi
    EXPECT_EQ(window->height(), 900);
    window->answer = makeColor(10, 20, 30);
    control<QToolButton>(*window, "sbSelectColor").click();
    const QImage shown = control<EditorPaintArea>(*window, "paintArea").grab().toImage();
    ASSERT_GT(shown.width(), captured.width());
    ASSERT_GT(shown.height(), captured.height());
    for (QPoint p : {QPoint(0, 0), QPoint(119, 0), QPoint(57, 89), QPoint(119, 89)}) {
        EXPECT_EQ(shown.pixelColor(p), QColor::fromRgb(captured.pixelColor(p.x(), p.y()) & 0xFF,
                                                       (captured.pixelColor(p.x(), p.y()) >> 8) & 0xFF,
                                                       captured.pixelColor(p.x(), p.y()) >> 16));
    }
    EXPECT_EQ(shown.pixelColor(120, 0), QColor(10, 20, 30));
    EXPECT_EQ(shown.pixelColor(0, 90), QColor(10, 20, 30));
    window.reset();
    const std::string text = iniText();
    EXPECT_NE(text.find("Width=516"), std::string::npos) << text;
    EXPECT_NE(text.find("Background=" + std::to_string(makeColor(10, 20, 30))), std::string::npos) << text;
}

} // namespace

// What a user sees at each density at the window's smallest: no control cuts its text, none lies
// outside the window or over another; at 96 dpi the window keeps its designed 516 x 400.
TEST_F(ImageEditorWindowTest, AtEveryDensityTheSmallestWindowShowsEveryControlWhole)
{
    std::ofstream(folder.path / "zentrap.ini") << "[Edit]\nWidth=1\nHeight=1\n";
    for (int dpi : {96, 120, 144}) {
        platform.pixelsPerInch = dpi;
        auto window = open();
        const QStringList faults = layoutaudit::faults(QString("%1 dpi").arg(dpi), *window);
        EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        if (dpi == 96) {
            EXPECT_EQ(window->size(), QSize(516, 400));
        }
        window.reset();
        std::ofstream(folder.path / "zentrap.ini") << "[Edit]\nWidth=1\nHeight=1\n";
    }
}

TEST_F(ImageEditorWindowTest, ALongResizeRepaintsItsProgressAtMostAboutThirtyTimesASecond)
{
    auto window = open();
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    control<EditorStatusBar>(*window, "statusBar").installEventFilter(&counter);
    control<QCheckBox>(*window, "cbKeepRatio").click();
    typeInto(&control<QLineEdit>(*window, "edWidth"), "1");
    typeInto(&control<QLineEdit>(*window, "edHeight"), "300000");
    QElapsedTimer clock;
    clock.start();
    control<QPushButton>(*window, "btApply").click();
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(edit.height(), 300000);
    // One repaint per resampled row would be 300,000; the closing repaint clears the bar.
    EXPECT_LE(counter.paints, elapsed / 30 + 3) << counter.paints << " repaints in " << elapsed << " ms";
}
