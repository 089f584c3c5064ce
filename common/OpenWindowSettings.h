// The settings writers of the windows open now. A lost X connection ends the program from inside
// the toolkit without destroying any window, so the windows' own writes never run; the end of the
// program writes them from here instead.
#pragma once

#include <functional>

class OpenWindowSettings {
public:
    // Known from construction to destruction; a window holds one as its last member.
    explicit OpenWindowSettings(std::function<void()> write);
    ~OpenWindowSettings();
    OpenWindowSettings(const OpenWindowSettings&) = delete;
    OpenWindowSettings& operator=(const OpenWindowSettings&) = delete;

    // Writes the settings of every window open now, the latest opened first; a failed write is
    // not reported and does not keep the others from being written.
    static void writeAll();

private:
    std::function<void()> write_;
};
