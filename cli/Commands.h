// The verbs of zentrap-cli; each takes the arguments after the verb and the picture size limits
// and returns the exit code.
#pragma once

#include "formats/readers/ImageLimits.h"

#include <stdexcept>
#include <string>
#include <vector>

// Wrong arguments: the message and the verb's usage are printed, exit code 2.
class CliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// grab [--cursor] [--rect X,Y,W,H] [--info] OUTPUT
int runGrab(const std::vector<std::string>& args, const ImageLimits& limits);

// encode --format F [options] INPUT OUTPUT: the bytes the Save As window saves with those settings.
int runEncode(const std::vector<std::string>& args, const ImageLimits& limits);

// quantize --palette 1-8 [--colors N] [--dither 0-6] IN OUT
int runQuantize(const std::vector<std::string>& args, const ImageLimits& limits);

// resize --width W --height H [--filter NAME] [--plain] INPUT OUTPUT
int runResize(const std::vector<std::string>& args, const ImageLimits& limits);

// rotate 90|180|270 INPUT OUTPUT
int runRotate(const std::vector<std::string>& args, const ImageLimits& limits);
