#include "formats/OutputFormats.h"
#include "OutputFormatsTestImages.h"
#include "common/ZentrapError.h"
#include "formats/BmpWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class OutputFormats : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zentrap-formats-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    // Only the target itself may be left in the folder: no temporary files.
    void expectOnlyFile(const fs::path& name)
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            names.push_back(e.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{name.string()});
    }
    fs::path dir_;
};

std::vector<FormatSettings> everySetting()
{
    std::vector<FormatSettings> all;
    for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Tiff}) {
        FormatSettings s;
        s.format = f;
        all.push_back(s);
    }
    for (int q : {1, 75, 100}) {
        for (bool p : {false, true}) {
            FormatSettings s;
            s.format = ImageFormat::Jpeg;
            s.jpeg = {q, p};
            all.push_back(s);
        }
    }
    for (int mode : {7, 8}) {
        FormatSettings s;
        s.format = ImageFormat::Gif;
        s.gif.paletteMode = mode;
        s.gif.colorCount = 8;
        s.gif.ditherMode = mode == 7 ? 1 : 0;
        s.gif.transparent = mode == 7;
        all.push_back(s);
    }
    return all;
}

// Lowers the file-size limit for the life of the object; writes past it fail with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

TEST_F(OutputFormats, MeasuredLengthEqualsTheSavedFileForEveryFormat)
{
    Bitmap image = testimages::photo24(77, 41);
    std::vector<size_t> jpegSizes;
    for (FormatSettings settings : everySetting()) {
        SCOPED_TRACE(static_cast<int>(settings.format));
        Measurement m = measureFormat(image, settings);
        fs::path path = dir_ / "out.img";
        saveFormat(image, settings, path.string());
        EXPECT_EQ(fs::file_size(path), m.length);
        ASSERT_EQ(m.preview.width(), image.width());
        ASSERT_EQ(m.preview.height(), image.height());
        if (settings.format == ImageFormat::Gif) {
            EXPECT_NE(m.preview, image) << "the pane shows the reduced colours";
        } else if (settings.format == ImageFormat::Jpeg) {
            EXPECT_EQ(m.preview.pixelFormat(), PixelFormat::Bpp24);
            EXPECT_NE(m.preview, image) << "the pane shows the compression artefacts";
            if (settings.jpeg.quality != 75) {
                jpegSizes.push_back(m.length);
            }
        } else {
            EXPECT_EQ(m.preview, image);
        }
    }
    std::sort(jpegSizes.begin(), jpegSizes.end());
    EXPECT_EQ(jpegSizes.size(), 4U);
    EXPECT_EQ(std::unique(jpegSizes.begin(), jpegSizes.end()), jpegSizes.end());
}

TEST_F(OutputFormats, BmpMeasuresTheTwentyFourBitCopyButSavesTheOwnFormat)
{
    Bitmap image = testimages::randomIndexed(10, 10, PixelFormat::Bpp8, 4);
    FormatSettings settings;
    Measurement m = measureFormat(image, settings);
    EXPECT_EQ(m.length, 54U + 10 * 32);
    saveFormat(image, settings, (dir_ / "a.bmp").string());
    EXPECT_EQ(fs::file_size(dir_ / "a.bmp"), bmpFileSize(image));
    EXPECT_EQ(fs::file_size(dir_ / "a.bmp"), 54U + 1024 + 10 * 12);
}

TEST_F(OutputFormats, SaveReplacesAnExistingFile)
{
    fs::path target = dir_ / "shot.png";
    writeFile(target, "old contents");
    FormatSettings settings;
    settings.format = ImageFormat::Png;
    saveFormat(testimages::random24(5, 5, 1), settings, target.string());
    std::vector<uint8_t> bytes = readFile(target);
    ASSERT_GT(bytes.size(), 8U);
    EXPECT_EQ(bytes[1], 'P');
    expectOnlyFile("shot.png");
}

TEST_F(OutputFormats, MissingFolderReportsTheSystemText)
{
    FormatSettings settings;
    try {
        saveFormat(testimages::random24(5, 5, 1), settings, (dir_ / "no-such-folder" / "x.bmp").string());
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
    }
}

TEST_F(OutputFormats, AFailedWriteLeavesTheExistingTargetByteIdentical)
{
    fs::path target = dir_ / "keep.tif";
    const std::string old(300, 'k');
    writeFile(target, old);
    Bitmap image = testimages::random24(200, 100, 3);
    for (FormatSettings settings : everySetting()) {
        SCOPED_TRACE(static_cast<int>(settings.format));
        try {
            FileSizeLimit limit(256); // below even a JPEG's headers
            saveFormat(image, settings, target.string());
            ADD_FAILURE() << "the save went through";
        } catch (const ZentrapError& e) {
            EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
        }
        std::vector<uint8_t> bytes = readFile(target);
        EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == old) << "target changed";
        expectOnlyFile("keep.tif");
    }
}

TEST_F(OutputFormats, ATargetThatIsAFolderIsNotReplaced)
{
    fs::create_directory(dir_ / "taken.png");
    FormatSettings settings;
    settings.format = ImageFormat::Png;
    EXPECT_THROW(saveFormat(testimages::random24(3, 3, 1), settings, (dir_ / "taken.png").string()), ZentrapError);
    EXPECT_TRUE(fs::is_directory(dir_ / "taken.png"));
    expectOnlyFile("taken.png");
}

// Saves into a folder this process may not write to; returns the error text ("" when it went through).
std::string saveIntoReadOnlyFolder(const fs::path& target)
{
    FormatSettings settings;
    try {
        saveFormat(testimages::random24(5, 5, 1), settings, target.string());
        return "";
    } catch (const ZentrapError& e) {
        return e.what();
    }
}

TEST_F(OutputFormats, ReadOnlyFolderReportsTheSystemText)
{
    fs::path target = dir_ / "keep.bmp";
    writeFile(target, "before");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    if (geteuid() != 0) {
        EXPECT_NE(saveIntoReadOnlyFolder(target).find("Permission denied"), std::string::npos);
    } else {
        // Root writes anywhere: try as an unprivileged user in a child process.
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = setgid(65534) == 0 && setuid(65534) == 0 &&
                      saveIntoReadOnlyFolder(target).find("Permission denied") != std::string::npos;
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child saw no \"Permission denied\"";
    }
    std::vector<uint8_t> bytes = readFile(target);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "before");
    expectOnlyFile("keep.bmp");
}

TEST_F(OutputFormats, EncoderErrorsLeaveTheTargetAlone)
{
    fs::path target = dir_ / "keep.jpg";
    writeFile(target, "before");
    for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Png}) {
        FormatSettings settings;
        settings.format = f;
        EXPECT_THROW(saveFormat(Bitmap(0, 4), settings, target.string()), ZentrapError);
        EXPECT_THROW(measureFormat(Bitmap(4, 0), settings), ZentrapError);
    }
    FormatSettings tiff;
    tiff.format = ImageFormat::Tiff;
    EXPECT_THROW(saveFormat(Bitmap(70000, 1, PixelFormat::Bpp1), tiff, target.string()), ZentrapError);
    std::vector<uint8_t> bytes = readFile(target);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "before");
    expectOnlyFile("keep.jpg");
}

TEST_F(OutputFormats, EmptyBitmapMeasuresAsAnEmptyTiff)
{
    FormatSettings tiff;
    tiff.format = ImageFormat::Tiff;
    EXPECT_EQ(measureFormat(Bitmap(0, 3), tiff).length, 0U);
}
