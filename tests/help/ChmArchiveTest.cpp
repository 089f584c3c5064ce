// Reading ztp.chm through ChmArchive, and refusing damaged copies of it without crashing or hanging.
#include "help/ChmArchive.h"
#include "help/ChmDirectory.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kHelpFile = std::string(ZENTRAP_BIN_DIR) + "/ztp.chm";

std::vector<std::uint8_t> builtHelpFile()
{
    std::ifstream in(kHelpFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint64_t field(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(i));
    return value;
}

void setField(std::vector<std::uint8_t>& bytes, std::size_t offset, int width, std::uint64_t value)
{
    for (int i = 0; i < width; ++i)
        bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

class ChmArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        original = builtHelpFile();
        ASSERT_GT(original.size(), 0x100u);
    }
    std::string write(const std::vector<std::uint8_t>& bytes, const std::string& name = "ztp.chm")
    {
        std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // Every object of an archive that opened, read to its end: must not crash whatever the bytes.
    static void readEverything(const ChmArchive& archive)
    {
        for (const auto& path : archive.objectPaths())
            (void)archive.read(path);
    }
    std::size_t firstListingPage() const { return field(original, 0x48, 8) + 0x54; }
    std::size_t objectOffset(const std::string& path) const
    {
        for (const auto& entry : ReadChmDirectory(original))
            if (entry.path == path)
                return field(original, 0x58, 8) + entry.start;
        ADD_FAILURE() << "no " << path;
        return 0;
    }

    QTemporaryDir dir;
    std::vector<std::uint8_t> original;
};

TEST_F(ChmArchiveTest, ListsAndReadsTheBuiltHelpFile)
{
    ChmArchive archive(kHelpFile);
    ASSERT_TRUE(archive.isOpen()) << archive.error();
    auto paths = archive.objectPaths();
    EXPECT_NE(std::find(paths.begin(), paths.end(), "/HTML/Saving.htm"), paths.end());

    auto page = archive.read("/HTML/Saving.htm");
    ASSERT_TRUE(page);
    std::string text(page->begin(), page->end());
    EXPECT_NE(text.find("<title>Saving the image</title>"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 8), "</html>\n");

    auto picture = archive.read("/html/IMAGES/remote.png"); // names match without regard to case
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::string(picture->begin() + 1, picture->begin() + 4), "PNG");

    EXPECT_FALSE(archive.read("/HTML/Missing.htm"));
    EXPECT_FALSE(archive.read("/HTML/")); // a folder has no bytes
}

TEST_F(ChmArchiveTest, ReportsMissingAndForeignFiles)
{
    ChmArchive missing(dir.filePath("none.chm").toStdString());
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.error(), "the file does not exist");

    ChmArchive folder(dir.path().toStdString());
    EXPECT_FALSE(folder.isOpen());

    ChmArchive empty(write({}));
    EXPECT_FALSE(empty.isOpen());
    EXPECT_NE(empty.error().find("damaged"), std::string::npos);

    std::vector<std::uint8_t> html{'<', 'h', 't', 'm', 'l', '>'};
    html.resize(4096, ' ');
    ChmArchive text(write(html));
    EXPECT_FALSE(text.isOpen());
    EXPECT_NE(text.error().find("not a compiled help file"), std::string::npos);
}

// Opening a FIFO for reading waits for a writer: the help file must be refused before that.
TEST_F(ChmArchiveTest, AFifoUnderTheHelpFilesNameIsRefusedAtOnce)
{
    std::string fifo = dir.filePath("ztp.chm").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    pid_t child = ::fork();
    if (child == 0) {
        ChmArchive archive(fifo);
        ::_exit(!archive.isOpen() && archive.error().find("FIFO") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    for (int tenths = 0; tenths < 100 && ::waitpid(child, &status, WNOHANG) == 0; ++tenths)
        ::usleep(100000);
    if (::waitpid(child, &status, WNOHANG) == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "opening a FIFO as the help file blocked";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ChmArchiveTest, TruncatedCopiesAreRefusedOrReadSafely)
{
    for (std::size_t length = 0; length < original.size(); length += (length < 0x200 ? 1 : 97)) {
        std::vector<std::uint8_t> cut(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(length));
        ChmArchive archive(write(cut));
        // The objects sit after the directory: cutting into them must be noticed.
        EXPECT_FALSE(archive.isOpen()) << length;
        readEverything(archive);
    }
}

TEST_F(ChmArchiveTest, RandomBytesAreRefused)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(random() % 20000));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        if (round % 2 == 0 && bytes.size() >= 0x60) // a real header in front of noise
            std::copy(original.begin(), original.begin() + 0x60, bytes.begin());
        ChmArchive archive(write(bytes));
        EXPECT_FALSE(archive.isOpen()) << round;
    }
}

TEST_F(ChmArchiveTest, RefusesDirectoryPagesThatLoopOrOverflow)
{
    std::vector<std::uint8_t> looping = original;
    setField(looping, firstListingPage() + 0x10, 4, field(original, field(original, 0x48, 8) + 0x20, 4));
    ChmArchive loop(write(looping));
    EXPECT_FALSE(loop.isOpen());
    EXPECT_NE(loop.error().find("loops"), std::string::npos) << loop.error();

    std::vector<std::uint8_t> overflowing = original;
    setField(overflowing, firstListingPage() + 4, 4, 0xffffff00u); // free space larger than the page
    ChmArchive overflow(write(overflowing));
    EXPECT_FALSE(overflow.isOpen());
    EXPECT_NE(overflow.error().find("free space"), std::string::npos) << overflow.error();

    std::vector<std::uint8_t> farPages = original;
    setField(farPages, field(original, 0x48, 8) + 0x2c, 4, 0x7fffffffu); // page count past the file
    EXPECT_FALSE(ChmArchive(write(farPages)).isOpen());
}

TEST_F(ChmArchiveTest, RefusesCompressionTablesThatChmlibWouldTrust)
{
    std::size_t control = objectOffset("::DataSpace/Storage/MSCompressed/ControlData");
    std::vector<std::uint8_t> noWindow = original;
    setField(noWindow, control + 0x10, 4, 0); // chmlib would divide by zero
    ChmArchive window(write(noWindow));
    EXPECT_FALSE(window.isOpen());
    EXPECT_NE(window.error().find("window"), std::string::npos) << window.error();

    std::size_t table = objectOffset("::DataSpace/Storage/MSCompressed/Transform/"
                                     "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable");
    std::vector<std::uint8_t> longFrame = original;
    setField(longFrame, table + 0x18, 8, 0x7fffffffffffull); // compressed length past the content
    EXPECT_FALSE(ChmArchive(write(longFrame)).isOpen());

    std::vector<std::uint8_t> hugeContent = original;
    setField(hugeContent, table + 0x10, 8, 1ull << 40);
    EXPECT_FALSE(ChmArchive(write(hugeContent)).isOpen());
}

// Damage inside the compressed stream leaves the directory and the uncompressed objects intact: the
// archive still opens, the uncompressed objects read back unchanged, and no read crashes.
TEST_F(ChmArchiveTest, DamagedCompressedContentSparesTheUncompressedObjects)
{
    std::size_t content = objectOffset("::DataSpace/Storage/MSCompressed/Content");
    ChmArchive intact(kHelpFile);
    ASSERT_TRUE(intact.isOpen()) << intact.error();
    std::mt19937 random(11);
    int uncompressedChecked = 0;
    for (int round = 0; round < 40; ++round) {
        std::vector<std::uint8_t> damaged = original;
        for (int flips = 0; flips < 1 + round % 8; ++flips) {
            std::size_t at = content + random() % (damaged.size() - content);
            damaged[at] = static_cast<std::uint8_t>(random());
        }
        ChmArchive archive(write(damaged));
        ASSERT_TRUE(archive.isOpen()) << round << ": " << archive.error();
        for (const auto& entry : ReadChmDirectory(original)) {
            auto bytes = archive.read(entry.path);
            if (entry.compressed || entry.path == "::DataSpace/Storage/MSCompressed/Content")
                continue;
            EXPECT_EQ(bytes, intact.read(entry.path)) << round << ": " << entry.path;
            ++uncompressedChecked;
        }
    }
    EXPECT_GT(uncompressedChecked, 40);
}

} // namespace
