#include "platform/x11/XcbBackEnd.h"

#include <QByteArray>

#include <cstring>

namespace {

bool platformGivenOnCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        // Qt takes its options with one or two dashes.
        if (std::strcmp(arg, "-platform") == 0 || std::strcmp(arg, "--platform") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void chooseXcbBackEnd(int argc, char** argv)
{
    if (platformGivenOnCommandLine(argc, argv) || qEnvironmentVariableIsEmpty("DISPLAY")) {
        return;
    }
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM").trimmed();
    if (chosen.isEmpty() || chosen.contains("wayland")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}
