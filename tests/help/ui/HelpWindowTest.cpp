// The help window on the built ztp.chm: topics, the table of contents, links, pictures, error pages,
// and the help service that reuses one window, closes it, and keeps it above modal windows.
#include "help/ui/HelpWindow.h"
#include "help/ChmArchive.h"
#include "help/ChmDirectory.h"
#include "help/ui/ChmHelpService.h"
#include "platform/ShowHelpTopic.h"
#include "support/FindControl.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <random>

namespace {

const QString kHelpFile = QStringLiteral(ZENTRAP_BIN_DIR "/ztp.chm");

// Kept alive to the end: an application destroyed among the static objects at exit crashes.
QApplication& application()
{
    return testApplication();
}

QString address(const QString& topic)
{
    return QString::fromStdString(helpTopicAddress(kHelpFile.toStdString(), topic.toStdString()));
}

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        window = std::make_unique<HelpWindow>();
    }
    QString write(const std::vector<char>& bytes)
    {
        QString path = dir.filePath("ztp.chm");
        std::ofstream(path.toStdString(), std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return path;
    }
    static std::vector<char> builtFile()
    {
        std::ifstream in(kHelpFile.toStdString(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    QTemporaryDir dir;
    std::unique_ptr<HelpWindow> window;
};

TEST_F(HelpWindowTest, ShowsTheTopicOfAnAddress)
{
    window->showTopic(address("HTML/Setting the preferences.htm"));
    EXPECT_FALSE(window->showsError());
    EXPECT_EQ(window->currentTopic(), "HTML/Setting the preferences.htm");
    EXPECT_EQ(control<QTextBrowser>(*window, "browser").documentTitle(), "Setting the preferences");
    EXPECT_TRUE(window->pageText().contains("Use PrintScreen key"));

    window->showTopic(address("HTML/Saving.htm"));
    EXPECT_EQ(window->currentTopic(), "HTML/Saving.htm");
    EXPECT_TRUE(window->pageText().contains("Capture1"));
}

TEST_F(HelpWindowTest, ShowsTheTableOfContentsAndTheStartPage)
{
    window->showContents(kHelpFile);
    EXPECT_FALSE(window->showsError());
    EXPECT_EQ(window->currentTopic(), "HTML/Contents.htm");
    EXPECT_EQ(window->windowTitle(), "Zentrap Help - Contents");
    QStringList entries = window->contentsEntries();
    ASSERT_EQ(entries.size(), 11);
    EXPECT_EQ(entries.front(), "Zentrap Help");
    EXPECT_TRUE(entries.contains("The Capture Frame and its rulers"));
    EXPECT_TRUE(entries.contains("Exit confirmation"));

    // Choosing an entry opens its page.
    QTreeWidgetItem* hotkeys =
        control<QTreeWidget>(*window, "contents").findItems("Hotkeys", Qt::MatchExactly).value(0);
    ASSERT_NE(hotkeys, nullptr);
    emit control<QTreeWidget>(*window, "contents").itemClicked(hotkeys, 0);
    EXPECT_EQ(window->currentTopic(), "HTML/Hotkeys.htm");
}

TEST_F(HelpWindowTest, FollowsLinksInsideTheFileAndShowsItsPictures)
{
    window->showContents(kHelpFile);
    QVariant picture = control<QTextBrowser>(*window, "browser")
                           .document()
                           ->resource(QTextDocument::ImageResource, QUrl("chm:///HTML/images/remote.png"));
    ASSERT_TRUE(picture.canConvert<QImage>());
    EXPECT_EQ(picture.value<QImage>().size(), QSize(100, 260));

    emit control<QTextBrowser>(*window, "browser").anchorClicked(QUrl("Exit confirmation.htm"));
    EXPECT_EQ(window->currentTopic(), "HTML/Exit confirmation.htm");
    EXPECT_TRUE(window->pageText().contains("Exit anyway?"));

    emit control<QTextBrowser>(*window, "browser").anchorClicked(QUrl("Contents.htm"));
    EXPECT_EQ(window->currentTopic(), "HTML/Contents.htm");

    emit control<QTextBrowser>(*window, "browser").anchorClicked(QUrl("ms-its:ztp.chm::/HTML/Printing.htm"));
    EXPECT_EQ(window->currentTopic(), "HTML/Printing.htm");

    emit control<QTextBrowser>(*window, "browser").anchorClicked(QUrl("Nowhere.htm"));
    EXPECT_TRUE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("HTML/Nowhere.htm"));
}

TEST_F(HelpWindowTest, MissingFileOrTopicShowsAnErrorPage)
{
    QString missing = dir.filePath("ztp.chm");
    window->showTopic(QString::fromStdString(helpTopicAddress(missing.toStdString(), "HTML/Saving.htm")));
    EXPECT_TRUE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("Help is not available"));
    EXPECT_EQ(window->windowTitle(), "Zentrap Help - Help is not available");
    EXPECT_TRUE(window->pageText().contains(missing));
    EXPECT_TRUE(window->pageText().contains("does not exist"));
    EXPECT_TRUE(window->contentsEntries().isEmpty());

    window->showTopic(address("HTML/Unknown.htm"));
    EXPECT_TRUE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("HTML/Unknown.htm"));

    window->showTopic("no address at all");
    EXPECT_TRUE(window->showsError());

    // The same page again after an error page is shown, not left behind the error.
    window->showTopic(address("HTML/Saving.htm"));
    window->showTopic(address("HTML/Unknown.htm"));
    window->showTopic(address("HTML/Saving.htm"));
    EXPECT_FALSE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("Capture1"));
}

TEST_F(HelpWindowTest, TruncatedOrRandomFileShowsAnErrorPage)
{
    std::vector<char> bytes = builtFile();
    bytes.resize(bytes.size() / 2);
    window->showContents(write(bytes));
    EXPECT_TRUE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("damaged"));

    std::mt19937 random(3);
    for (auto& b : bytes)
        b = static_cast<char>(random());
    window->showTopic(QString::fromStdString(helpTopicAddress(write(bytes).toStdString(), "HTML/Saving.htm")));
    EXPECT_TRUE(window->showsError());
    EXPECT_TRUE(window->pageText().contains("damaged"));

    // Once the file is whole again, the window finds it.
    window->showContents(write(builtFile()));
    EXPECT_FALSE(window->showsError());
    EXPECT_EQ(window->currentTopic(), "HTML/Contents.htm");
}

TEST(ChmHelpService, ReusesOneWindowAndClosesIt)
{
    application();
    ChmHelpService help;
    EXPECT_EQ(help.window(), nullptr);
    help.closeAll(); // nothing open yet: harmless

    help.displayContents(kHelpFile.toStdString());
    HelpWindow* window = help.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTopic(), "HTML/Contents.htm");

    showHelpTopic(help, kHelpFile.toStdString(), "HTML/Editing.htm");
    EXPECT_EQ(help.window(), window);
    EXPECT_EQ(window->currentTopic(), "HTML/Editing.htm");
    EXPECT_EQ(QApplication::topLevelWidgets().count(window), 1);

    help.closeAll();
    EXPECT_FALSE(window->isVisible());

    showHelpTopic(help, kHelpFile.toStdString(), "HTML/Printing.htm");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(help.window(), window);
}

// Help opened from a modal window stays above while any modal window is open, then is an ordinary
// window again, on the same native window throughout (no flicker, no lost place).
TEST(ChmHelpService, KeptAboveOnlyWhileAModalWindowIsOpen)
{
    application();
    ChmHelpService help;
    QDialog outer;
    outer.setModal(true);
    outer.show();
    QDialog inner(&outer);
    inner.setModal(true);
    inner.show();
    showHelpTopic(help, kHelpFile.toStdString(), "HTML/Saving.htm");
    const WId native = help.window()->winId();
    auto keptAbove = [&help] { return help.window()->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); };
    EXPECT_TRUE(keptAbove());

    inner.hide();
    QApplication::processEvents();
    EXPECT_TRUE(keptAbove()) << "another modal window is still open";
    outer.hide();
    QApplication::processEvents();
    EXPECT_FALSE(keptAbove());
    EXPECT_FALSE(help.window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(help.window()->winId(), native);
    EXPECT_TRUE(help.window()->isVisible());
}

} // namespace

// Damage in the compressed stream that the decompressor turns into a page of garbage shows the error
// page. Pages changed in a few characters cannot be told from intact ones: the file has no checksums.
TEST_F(HelpWindowTest, APageGarbledByDamagedCompressionShowsAnErrorPage)
{
    const std::vector<char> original = builtFile();
    std::vector<std::uint8_t> bytes(original.begin(), original.end());
    std::size_t content = 0;
    for (const auto& entry : ReadChmDirectory(bytes))
        if (entry.path == "::DataSpace/Storage/MSCompressed/Content")
            content = entry.start;
    std::uint64_t contentSection = 0;
    for (int i = 7; i >= 0; --i)
        contentSection = (contentSection << 8) | bytes.at(0x58 + static_cast<std::size_t>(i));
    content += contentSection;
    ASSERT_GT(content, 0u);
    const std::string page = "/HTML/Saving.htm";
    const std::vector<std::uint8_t> intact = *ChmArchive(kHelpFile.toStdString()).read(page);

    std::mt19937 random(7);
    int garbled = 0;
    for (int round = 0; round < 300 && garbled < 6; ++round) {
        std::vector<char> damaged = original;
        damaged[content + random() % (damaged.size() - content)] ^= static_cast<char>(1 << (random() % 8));
        QString path = dir.filePath(QString("damaged%1.chm").arg(round));
        std::ofstream(path.toStdString(), std::ios::binary).write(damaged.data(), std::streamsize(damaged.size()));
        auto read = ChmArchive(path.toStdString()).read(page);
        if (!read || read->size() != intact.size())
            continue;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < intact.size(); ++i)
            differing += (*read)[i] != intact[i];
        if (differing < intact.size() / 2)
            continue; // not a page of garbage
        ++garbled;
        window->showTopic(QString::fromStdString(helpTopicAddress(path.toStdString(), "HTML/Saving.htm")));
        EXPECT_TRUE(window->showsError()) << "round " << round;
        EXPECT_TRUE(window->pageText().contains("damaged")) << window->pageText().left(200).toStdString();
    }
    EXPECT_GE(garbled, 3);
}
