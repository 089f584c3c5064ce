// zentrap-cli encode: writes a picture in one of the five output formats with the Save As settings.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "formats/OutputFormats.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

ImageFormat parseFormat(std::string_view name)
{
    const OutputFormat* format = outputFormatNamed(name);
    if (format == nullptr) {
        throw CliUsageError("unknown format \"" + std::string(name) + "\"");
    }
    return format->id;
}

int parseColorCount(std::string_view text)
{
    int count = parseWholeNumber(text, "--colors", 8, 256);
    for (int allowed : {8, 16, 32, 64, 128, 256}) {
        if (count == allowed) {
            return count;
        }
    }
    throw CliUsageError("--colors must be 8, 16, 32, 64, 128 or 256");
}

void parsePickedPixel(std::string_view text, GifOptions& gif)
{
    std::vector<int> xy = parseNumberList(text, "--transparent", 2, 0, 65535);
    gif.pickX = xy[0];
    gif.pickY = xy[1];
    gif.transparent = true;
}

// The picked pixel is known to lie inside the picture only once the picture is read.
void checkPickedPixel(const GifOptions& gif, const Bitmap& image)
{
    if (gif.transparent && (gif.pickX >= image.width() || gif.pickY >= image.height())) {
        throw CliUsageError("--transparent " + std::to_string(gif.pickX) + "," + std::to_string(gif.pickY) +
                            " lies outside the " + std::to_string(image.width()) + " x " +
                            std::to_string(image.height()) + " picture");
    }
}

struct EncodeRequest {
    FormatSettings settings;
    std::string input;
    std::string output;
};

EncodeRequest parseArguments(const std::vector<std::string>& args)
{
    EncodeRequest request;
    std::optional<ImageFormat> format;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= args.size()) {
                throw CliUsageError(arg + " needs a value");
            }
            return args[++i];
        };
        if (arg == "--format") {
            format = parseFormat(value());
        } else if (arg == "--quality") {
            request.settings.jpeg.quality = parseWholeNumber(value(), arg, 1, 100);
        } else if (arg == "--progressive") {
            request.settings.jpeg.progressive = true;
        } else if (arg == "--baseline") {
            request.settings.jpeg.progressive = false;
        } else if (arg == "--palette") {
            request.settings.gif.paletteMode = parseWholeNumber(value(), arg, 1, 8);
        } else if (arg == "--colors") {
            request.settings.gif.colorCount = parseColorCount(value());
        } else if (arg == "--dither") {
            request.settings.gif.ditherMode = parseWholeNumber(value(), arg, 0, 6);
        } else if (arg == "--compression") {
            std::string_view v = value();
            if (v != "lzw" && v != "rle") {
                throw CliUsageError("--compression must be lzw or rle");
            }
            request.settings.gif.compression = v == "rle" ? 1 : 0;
        } else if (arg == "--transparent") {
            parsePickedPixel(value(), request.settings.gif);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw CliUsageError("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (!format) {
        throw CliUsageError("--format is required");
    }
    if (files.size() != 2) {
        throw CliUsageError("needs INPUT and OUTPUT");
    }
    request.settings.format = *format;
    request.input = files[0];
    request.output = files[1];
    return request;
}

} // namespace

int runEncode(const std::vector<std::string>& args, const ImageLimits& limits)
{
    EncodeRequest request = parseArguments(args);
    Bitmap image = loadImageFile(request.input, limits);
    checkPickedPixel(request.settings.gif, image);
    saveFormat(image, request.settings, request.output);
    return 0;
}
