// zentrap-cli resize: the editor's resize, smooth (a resampling filter) or plain.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "editor/FilterTable.h"
#include "editor/PlainStretch.h"
#include "editor/Resample.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct ResizeOptions {
    int width = 0;
    int height = 0;
    const ResampleFilter* filter = findResampleFilter("Mitchell");
    bool plain = false;
    std::vector<std::string> files;
};

ResizeOptions parseResizeArguments(const std::vector<std::string>& args)
{
    ResizeOptions options;
    bool widthGiven = false;
    bool heightGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw CliUsageError(arg + " needs a value");
            }
            return args[++i];
        };
        if (arg == "--width") {
            options.width = parseWholeNumber(value(), arg, 1, 65535);
            widthGiven = true;
        } else if (arg == "--height") {
            options.height = parseWholeNumber(value(), arg, 1, 65535);
            heightGiven = true;
        } else if (arg == "--filter") {
            const std::string& name = value();
            options.filter = findResampleFilter(name);
            if (options.filter == nullptr) {
                throw CliUsageError("unknown filter: " + name);
            }
        } else if (arg == "--plain") {
            options.plain = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw CliUsageError("unknown option: " + arg);
        } else {
            options.files.push_back(arg);
        }
    }
    if (!widthGiven || !heightGiven) {
        throw CliUsageError("--width and --height are required");
    }
    if (options.files.size() != 2) {
        throw CliUsageError("expected INPUT and OUTPUT");
    }
    if (static_cast<int64_t>(options.width) * options.height > kMaxResamplePixels) {
        throw CliUsageError("new image size is too big");
    }
    requireImageExtension(options.files[1]);
    return options;
}

} // namespace

int runResize(const std::vector<std::string>& args, const ImageLimits& limits)
{
    ResizeOptions options = parseResizeArguments(args);
    checkImageSize(options.width, options.height, limits);
    Bitmap source = loadImageFile(options.files[0], limits);
    Bitmap destination(options.width, options.height, PixelFormat::Bpp24);
    if (options.plain) {
        PlainStretch(source.converted(PixelFormat::Bpp24), destination);
    } else {
        ResampleBitmap(source, destination, options.filter->function, options.filter->support);
    }
    saveImageFileByExtension(destination, options.files[1]);
    return 0;
}
