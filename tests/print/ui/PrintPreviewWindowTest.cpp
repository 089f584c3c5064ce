// The Print Preview as a window (offscreen): opened only when a printer can be made current,
// its controls' enabled states from the stored settings, the printer's status panel, printing
// with Enter, and the settings written when it is destroyed.
#include "common/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/fake/FakePrintService.h"
#include "print/ui/OpenPrintPreview.h"
#include "print/ui/PreviewPaintBox.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "support/WindowTestFakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include <fstream>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

struct WindowFixture : ::testing::Test, WindowTestFakes {
    WindowFixture() : WindowTestFakes(Bitmap(1024, 768)) { testApplication(); }

    TempFolder folder;
    SettingsFile ini{(folder.path / "zentrap.ini").string()};
    FakePrintService& printer = fakes.printing;
    Bitmap image{64, 32};
    bool notSaved = true;
};

template <typename T> T* child(QWidget& window, const QString& text)
{
    for (T* w : window.findChildren<T*>()) {
        if (w->text() == text) {
            return w;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(WindowFixture, NoPrinterGivesTheMessageAndNoWindow)
{
    QWidget owner;
    printer.printerNames.clear();
    EXPECT_EQ(openPrintPreview(platform, ini, {image, notSaved, true}, &owner), nullptr);
    ASSERT_EQ(messages.messages, std::vector<std::string>{"No printer installed"});
    EXPECT_EQ(messages.lastOwner, &owner);
    platform.printing = nullptr; // a program without a print service
    EXPECT_EQ(openPrintPreview(platform, ini, {image, notSaved, true}, &owner), nullptr);
    EXPECT_EQ(messages.messages.size(), 2U);
}

TEST_F(WindowFixture, OpensOnTheStoredSettingsPrintsWithEnterAndWritesThemBack)
{
    std::ofstream(ini.path()) << "[Print]\nFitToPage=1\nCopies=2\nLeft=40\nTop=30\n";
    printer.printerNames = {"Office", "Fake Printer"};
    printer.defaultPrinter = "Office";
    auto window = openPrintPreview(platform, ini, {image, notSaved, true}, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Zentrap Print Preview");
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_GE(window->minimumWidth(), 516);
    // Fit is on: zoom, centring and offsets take no input.
    auto* zoom = child<QLabel>(*window, "Zoom:");
    auto* center = child<QCheckBox>(*window, "center");
    ASSERT_TRUE(zoom && center);
    EXPECT_FALSE(zoom->isEnabled());
    EXPECT_FALSE(center->isEnabled());
    EXPECT_NE(child<QLabel>(*window, "   Printer: Office"), nullptr);
    EXPECT_NE(child<QLabel>(*window, "Paper size: 8.5 x 11.0 inches"), nullptr);
    for (const char* caption : {"Setup...", "Print", "Close", "Help", "Defaults"}) {
        EXPECT_NE(child<QPushButton>(*window, caption), nullptr) << caption;
    }
    window->show();
    QApplication::processEvents();

    // The fit box off again: the zoom and the centre boxes come back, the offsets stay off
    // while centring is on.
    child<QCheckBox>(*window, "fit")->click();
    EXPECT_TRUE(zoom->isEnabled());
    EXPECT_TRUE(center->isEnabled());
    EXPECT_FALSE(child<QLabel>(*window, "Top:")->isEnabled());

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(child<QPushButton>(*window, "Print"), &enter);
    ASSERT_EQ(printer.jobs.size(), 1U);
    EXPECT_EQ(printer.jobs[0].pages.size(), 2U);
    EXPECT_FALSE(notSaved);

    // The settings panel keeps its design width at 96 dpi.
    EXPECT_EQ(child<QPushButton>(*window, "Defaults")->parentWidget()->width(), 162);

    // Only the user's moves change the stored place (offscreen windows report none): it comes
    // back as it was read.
    window.reset();
    std::string written = readWholeFile(ini.path());
    EXPECT_NE(written.find("FitToPage=0"), std::string::npos) << written;
    EXPECT_NE(written.find("Copies=2"), std::string::npos) << written;
    EXPECT_NE(written.find("Left=40"), std::string::npos) << written;
    EXPECT_NE(written.find("Top=30"), std::string::npos) << written;
}

TEST_F(WindowFixture, DraggingTheImageWithTheMouseRewritesTheOffsetFields)
{
    std::ofstream(ini.path()) << "[Print]\nCenterHorz=0\nCenterVert=0\nXOffset=1\nYOffset=1\n";
    auto window = openPrintPreview(platform, ini, {image, notSaved, true}, nullptr);
    window->resize(800, 700);
    window->show();
    QApplication::processEvents();
    PreviewPaintBox* box = nullptr;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        box = box != nullptr ? box : dynamic_cast<PreviewPaintBox*>(w);
    }
    ASSERT_NE(box, nullptr);
    PrintPreviewModel& model = window->model();
    Rect on = model.imageOnPreview();
    auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(p), box->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    QPoint start(on.left + 2, on.top + 2);
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(box->cursor().shape(), Qt::BitmapCursor); // the open hand
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QPoint end = start + QPoint(40, 20);
    send(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    double k = model.previewPixelsPerInch();
    NumberFormat numbers(QLocale().decimalPoint().toStdString(), QLocale().groupSeparator().toStdString());
    QLineEdit* leftField = nullptr;
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (field->text().toStdString() == numbers.formatFixed(1 + 40 / k, 2)) {
            leftField = field;
        }
    }
    EXPECT_NE(leftField, nullptr) << "no field shows " << numbers.formatFixed(1 + 40 / k, 2);
    send(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    EXPECT_NEAR(model.layout().image.left, 1 + 40 / k, 0.006);
    EXPECT_NEAR(model.layout().image.top, 1 + 20 / k, 0.006);
    send(QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(box->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowFixture, AnAbsurdStoredPlacementOpensOnTheScreenWithoutOverflow)
{
    std::ofstream(ini.path()) << "[Print]\nLeft=2147483647\nTop=2147483647\nWidth=2147483647\nHeight=2147483647\n";
    printer.printerNames = {"Office"};
    printer.defaultPrinter = "Office";
    auto window = openPrintPreview(platform, ini, {image, notSaved, true}, nullptr);
    ASSERT_NE(window, nullptr);
    window->show();
    QApplication::processEvents();
    // The fake desktop is one 1024 x 768 screen.
    const QRect placed = window->geometry();
    EXPECT_TRUE(placed.width() <= 1024 && placed.height() <= 768 && placed.x() >= 0 && placed.y() >= 0 &&
                placed.x() < 1024 && placed.y() < 768)
        << placed.x() << "," << placed.y() << " " << placed.width() << " x " << placed.height();
    window.reset();
    EXPECT_EQ(readWholeFile(ini.path()).find("2147483647"), std::string::npos) << readWholeFile(ini.path());
}

TEST_F(WindowFixture, AtTheScreenDensityGivenTheBorderAndThePanelScale)
{
    platform.pixelsPerInch = 144;
    auto window = openPrintPreview(platform, ini, {image, notSaved, true}, nullptr);
    ASSERT_NE(window, nullptr);
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(child<QPushButton>(*window, "Defaults")->parentWidget()->width(), 243);
    const QWidget* preview = nullptr;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        preview = preview != nullptr ? preview : dynamic_cast<PreviewPaintBox*>(w);
    }
    ASSERT_NE(preview, nullptr);
    // The border, then the bevel's line and its one-pixel margin.
    EXPECT_EQ(preview->mapTo(window.get(), QPoint(0, 0)), QPoint(12 + 2, 12 + 2));
}
