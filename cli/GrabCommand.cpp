// zentrap-cli grab: copies the screen (or a rectangle of it) into an image file.
#include "capture/ScreenGrabber.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "common/AtomicFile.h"
#include "common/ZentrapError.h"
#include "platform/x11/X11ScreenSource.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Larger requests are refused before any memory is taken for them.
constexpr int kMaxSide = 32767;

struct GrabOptions {
    bool cursor = false;
    bool info = false;
    bool hasRect = false;
    int left = 0, top = 0, width = 0, height = 0;
    std::string output;
};

bool parseInt(const std::string& text, int& out)
{
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < -kMaxSide * 2L || value > kMaxSide * 2L) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

void parseRect(const std::string& text, GrabOptions& options)
{
    std::string parts[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) {
            throw CliUsageError("--rect wants X,Y,W,H");
        }
        parts[i] = text.substr(start, i < 3 ? comma - start : std::string::npos);
        start = comma + 1;
    }
    if (!parseInt(parts[0], options.left) || !parseInt(parts[1], options.top) || !parseInt(parts[2], options.width) ||
        !parseInt(parts[3], options.height)) {
        throw CliUsageError("--rect wants four whole numbers X,Y,W,H");
    }
    if (options.width <= 0 || options.height <= 0 || options.width > kMaxSide || options.height > kMaxSide) {
        throw CliUsageError("--rect wants a width and height from 1 to 32767");
    }
    options.hasRect = true;
}

GrabOptions parseOptions(const std::vector<std::string>& args)
{
    GrabOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--cursor") {
            options.cursor = true;
        } else if (arg == "--info") {
            options.info = true;
        } else if (arg == "--rect") {
            if (i + 1 >= args.size()) {
                throw CliUsageError("--rect wants X,Y,W,H");
            }
            parseRect(args[++i], options);
        } else if (arg.rfind("--rect=", 0) == 0) {
            parseRect(arg.substr(7), options);
        } else if (!arg.empty() && arg[0] == '-') {
            throw CliUsageError("unknown option " + arg);
        } else if (options.output.empty()) {
            options.output = arg;
        } else {
            throw CliUsageError("only one output file");
        }
    }
    if (options.output.empty()) {
        throw CliUsageError("no output file");
    }
    return options;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size()) {
        return false;
    }
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i]) {
            return false;
        }
    }
    return true;
}

// Binary PPM: the simplest lossless file every image tool reads.
void savePpm(const Bitmap& bitmap, const std::string& path)
{
    writeFileAtomically(path, [&](ByteSink& sink) {
        std::string header =
            "P6\n" + std::to_string(bitmap.width()) + " " + std::to_string(bitmap.height()) + "\n255\n";
        sink.write(header.data(), header.size());
        std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.width()) * 3);
        for (int y = 0; y < bitmap.height(); ++y) {
            const uint8_t* bgr = bitmap.row(y);
            for (size_t i = 0; i < rgb.size(); i += 3) {
                rgb[i] = bgr[i + 2];
                rgb[i + 1] = bgr[i + 1];
                rgb[i + 2] = bgr[i];
            }
            sink.write(rgb.data(), rgb.size());
        }
    });
}

} // namespace

int runGrab(const std::vector<std::string>& args)
{
    GrabOptions options = parseOptions(args);
    X11ScreenSource screen;
    if (!screen.isAvailable()) {
        throw ZentrapError("cannot open the X display");
    }
    if (!options.hasRect) {
        Size size = screen.primaryScreenSize();
        options.width = size.width;
        options.height = size.height;
    }
    Bitmap bitmap;
    GrabScreen(options.left, options.top, options.width, options.height, bitmap, options.cursor, screen);
    if (endsWith(options.output, ".ppm")) {
        savePpm(bitmap, options.output);
    } else {
        saveImageFileByExtension(bitmap, options.output);
    }
    if (options.info) {
        const auto& palette = bitmap.systemPalette();
        std::printf("size %dx%d bits %d palette %zu\n", bitmap.width(), bitmap.height(), bitmap.bitsPerPixel(),
                    palette ? palette->size() : size_t{0});
    }
    return 0;
}
