#include "common/OpenWindowSettings.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace {

// Used on the user-interface thread only. Never destroyed: writeAll() runs among the exit
// handlers, after statics made later than it was registered are gone.
std::vector<OpenWindowSettings*>& openWindows()
{
    static auto* windows = new std::vector<OpenWindowSettings*>;
    return *windows;
}

} // namespace

OpenWindowSettings::OpenWindowSettings(std::function<void()> write) : write_(std::move(write))
{
    openWindows().push_back(this);
}

OpenWindowSettings::~OpenWindowSettings()
{
    std::erase(openWindows(), this);
}

void OpenWindowSettings::writeAll()
{
    const std::vector<OpenWindowSettings*> now = openWindows();
    std::for_each(now.rbegin(), now.rend(), [](OpenWindowSettings* window) {
        try {
            window->write_();
        } catch (const std::exception&) {
            // The other windows still write theirs.
        }
    });
}
