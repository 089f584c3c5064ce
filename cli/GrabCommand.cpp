// zentrap-cli grab: copies the screen (or the part of a rectangle that lies on it) into an image file.
#include "capture/ScreenGrabber.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "common/AtomicFile.h"
#include "common/ZentrapError.h"
#include "formats/readers/ImageLimits.h"
#include "platform/wayland/ScreencopyScreenSource.h"
#include "platform/x11/XcbScreenSource.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct GrabOptions {
    bool cursor = false;
    bool info = false;
    bool hasRect = false;
    int left = 0, top = 0, width = 0, height = 0;
    std::string output;
};

// Coordinates far beyond any screen are refused as numbers; sizes as "Image too large".
constexpr int kMaxCoordinate = 1 << 24;

void parseRect(const std::string& text, GrabOptions& options)
{
    std::vector<int> r = parseNumberList(text, "--rect", 4, -kMaxCoordinate, kMaxCoordinate);
    if (r[2] < 1 || r[3] < 1) {
        throw CliUsageError("--rect wants a width and height of at least 1, not \"" + text + "\"");
    }
    if (r[2] > kMaxImageSide || r[3] > kMaxImageSide || int64_t{r[2]} * r[3] > kMaxImagePixels) {
        throw CliUsageError("--rect " + text + ": Image too large");
    }
    options.left = r[0];
    options.top = r[1];
    options.width = r[2];
    options.height = r[3];
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
                throw CliUsageError("--rect needs a value");
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
    requireImageExtension(options.output, true);
    return options;
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

int runGrab(const std::vector<std::string>& args, const ImageLimits& limits)
{
    GrabOptions options = parseOptions(args);
    XcbScreenSource x11Screen;
    if (!x11Screen.isAvailable()) {
        throw ZentrapError("cannot open the X display");
    }
    // XWayland gives no other program's pixels: the compositor is asked when it offers screencopy.
    std::string notOffered;
    std::unique_ptr<ScreencopyScreenSource> compositorScreen;
    if (x11Screen.isXWayland()) {
        compositorScreen = ScreencopyScreenSource::offered(x11Screen, notOffered);
    }
    ScreenSource& screen = compositorScreen ? static_cast<ScreenSource&>(*compositorScreen) : x11Screen;
    Size screenSize = screen.primaryScreenSize();
    if (!options.hasRect) {
        options.width = screenSize.width;
        options.height = screenSize.height;
    }
    Rect part = Rect::fromSize(options.left, options.top, options.width, options.height)
                    .intersected(Rect::fromSize(0, 0, screenSize.width, screenSize.height));
    if (part.isEmpty()) {
        throw ZentrapError("the rectangle " + std::to_string(options.left) + "," + std::to_string(options.top) + "," +
                           std::to_string(options.width) + "," + std::to_string(options.height) +
                           " lies entirely off the " + std::to_string(screenSize.width) + " x " +
                           std::to_string(screenSize.height) + " screen");
    }
    // Only the part on the screen is kept, and nothing is allocated for the rest.
    checkImageSize(part.width(), part.height(), limits);
    Bitmap bitmap;
    if (!GrabScreen(part.left, part.top, part.width(), part.height(), bitmap, options.cursor, screen)) {
        std::string reason = screen.unreadableReason();
        if (!notOffered.empty()) {
            reason += " (" + notOffered + ")";
        }
        throw ZentrapError("cannot capture the screen: " + reason);
    }
    if (isPpmFileName(options.output)) {
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
