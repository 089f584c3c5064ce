// zentrap-cli quantize: reduces a picture to an 8-bit indexed one as the GIF writer would, so that
// colour reduction can be looked at on its own.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "formats/Quantize.h"

#include <string>

namespace {

struct QuantizeOptions {
    int palette = 8;
    int colors = 32;
    int dither = 0;
    std::string input;
    std::string output;
};

int reductionBitsFor(int colors)
{
    for (int bits = 3; bits <= 8; ++bits) {
        if (colors == 1 << bits) {
            return bits;
        }
    }
    throw CliUsageError("--colors wants 8, 16, 32, 64, 128 or 256");
}

QuantizeOptions parseOptions(const std::vector<std::string>& args)
{
    QuantizeOptions options;
    bool hasPalette = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw CliUsageError(arg + " wants a value");
            }
            return args[++i];
        };
        if (arg == "--palette") {
            options.palette = parseWholeNumber(value(), arg, 1, 8);
            hasPalette = true;
        } else if (arg == "--colors") {
            options.colors = parseWholeNumber(value(), arg, 1, 256);
        } else if (arg == "--dither") {
            options.dither = parseWholeNumber(value(), arg, 0, 6);
        } else if (!arg.empty() && arg[0] == '-') {
            throw CliUsageError("unknown option " + arg);
        } else if (options.input.empty()) {
            options.input = arg;
        } else if (options.output.empty()) {
            options.output = arg;
        } else {
            throw CliUsageError("too many file names");
        }
    }
    if (!hasPalette) {
        throw CliUsageError("--palette is required");
    }
    if (options.input.empty() || options.output.empty()) {
        throw CliUsageError("wants an input and an output file");
    }
    reductionBitsFor(options.colors);
    requireImageExtension(options.output);
    return options;
}

} // namespace

int runQuantize(const std::vector<std::string>& args, const ImageLimits& limits)
{
    QuantizeOptions options = parseOptions(args);
    int bits = reductionBitsFor(options.colors);
    Bitmap source = loadImageFile(options.input, limits);
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        source = source.converted(PixelFormat::Bpp24);
    }
    Bitmap reduced =
        QuantizeBitmap(source, ReductionModeFromCode(options.palette), DitherModeFromCode(options.dither), bits);
    saveImageFileByExtension(reduced, options.output);
    return 0;
}
