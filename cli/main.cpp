// zentrap-cli: runs Zentrap's image algorithms from the command line.
#include "cli/Commands.h"
#include "cli/PixelLimit.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Verb {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args, const ImageLimits& limits);
    std::string_view usage;
};

const std::vector<Verb> kVerbs = {
    {"quantize", runQuantize, "quantize --palette 1-8 [--colors 8|16|32|64|128|256] [--dither 0-6] IN OUT.png"},
    {"grab", runGrab, "grab [--cursor] [--rect X,Y,W,H] [--info] OUTPUT (.ppm .bmp .png .jpg .gif .tif)"},
    {"encode", runEncode,
     "encode --format bmp|jpeg|gif|png|tiff [--quality 1-100] [--progressive|--baseline] [--palette 1-8] "
     "[--colors 8|16|32|64|128|256] [--dither 0-6] [--compression lzw|rle] [--transparent X,Y] INPUT OUTPUT"},
    {"resize", runResize,
     "resize --width W --height H [--filter mitchell|box|triangle|hermite|bell|b-spline|lanczos3] [--plain] INPUT "
     "OUTPUT"},
    {"rotate", runRotate, "rotate 90|180|270 INPUT OUTPUT"},
};

constexpr std::string_view kInputs =
    "Pictures read: BMP, PNG, JPEG, GIF, TIFF, PBM, PGM and PPM, told by their content, at most 65535 pixels\n"
    "on a side and 2^28 pixels in all. Every verb takes --max-pixels N (or ZENTRAP_MAX_PIXELS=N) to lower\n"
    "that limit for the pictures it reads and makes.\n";

void printUsage(std::FILE* to)
{
    std::fprintf(to, "usage: zentrap-cli VERB ...\n");
    for (const Verb& v : kVerbs) {
        std::fprintf(to, "  zentrap-cli %s\n", std::string(v.usage).c_str());
    }
    std::fprintf(to, "%s", std::string(kInputs).c_str());
}

bool isHelp(std::string_view arg)
{
    return arg == "--help" || arg == "-h" || arg == "help";
}

bool asksForHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

int runVerb(const Verb& verb, std::vector<std::string> args)
{
    const std::string name(verb.name);
    const std::string usage(verb.usage);
    if (asksForHelp(args)) {
        std::printf("usage: zentrap-cli %s\n%s", usage.c_str(), std::string(kInputs).c_str());
        return 0;
    }
    try {
        ImageLimits limits = takePixelLimit(args);
        return verb.run(args, limits);
    } catch (const CliUsageError& e) {
        std::fprintf(stderr, "zentrap-cli %s: %s\nusage: zentrap-cli %s\n", name.c_str(), e.what(), usage.c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zentrap-cli %s: %s\n", name.c_str(), e.what());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && isHelp(argv[1])) {
        printUsage(stdout);
        return 0;
    }
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    std::string_view name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Verb& v : kVerbs) {
        if (v.name == name) {
            return runVerb(v, args);
        }
    }
    std::fprintf(stderr, "zentrap-cli: unknown verb \"%s\"\n", argv[1]);
    printUsage(stderr);
    return 2;
}
