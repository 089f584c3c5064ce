// zentrap-cli: runs Zentrap's image algorithms from the command line.
#include "cli/Commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Verb {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args);
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

int usage()
{
    std::fprintf(stderr, "usage: zentrap-cli VERB ...\n");
    for (const Verb& v : kVerbs) {
        std::fprintf(stderr, "  zentrap-cli %s\n", std::string(v.usage).c_str());
    }
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Qt's image plugins (JPEG among them) are found through the application object.
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        return usage();
    }
    std::string_view verb = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Verb& v : kVerbs) {
        if (v.name == verb) {
            try {
                return v.run(args);
            } catch (const CliUsageError& e) {
                std::fprintf(stderr, "zentrap-cli %s: %s\nusage: zentrap-cli %s\n", argv[1], e.what(),
                             std::string(v.usage).c_str());
                return 2;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "zentrap-cli %s: %s\n", argv[1], e.what());
                return 1;
            }
        }
    }
    return usage();
}
