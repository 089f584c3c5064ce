// zentrap-cli rotate: the editor's right-angle rotation, clockwise; 8-bit pictures stay 8-bit.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageFiles.h"
#include "editor/Rotation.h"

#include <string>
#include <vector>

namespace {

RotationAngle parseAngle(const std::string& text)
{
    if (text == "90") {
        return RotationAngle::Rotate90;
    }
    if (text == "180") {
        return RotationAngle::Rotate180;
    }
    if (text == "270") {
        return RotationAngle::Rotate270;
    }
    throw CliUsageError("the angle must be 90, 180 or 270: " + text);
}

} // namespace

int runRotate(const std::vector<std::string>& args, const ImageLimits& limits)
{
    if (args.size() != 3) {
        throw CliUsageError("expected ANGLE INPUT OUTPUT");
    }
    RotationAngle angle = parseAngle(args[0]);
    requireImageExtension(args[2]);
    Bitmap destination;
    {
        // The source is gone before the result is written: at most the two pictures at once.
        Bitmap source = loadImageFile(args[1], limits);
        RotatePicture(source, destination, angle);
    }
    saveImageFileByExtension(destination, args[2]);
    return 0;
}
