// Shared pieces of the Capture Frame's window tests: the application object, fakes and a host.
#pragma once

#include "app/CommandTable.h"
#include "capture/FrameHost.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>

#include <optional>
#include <vector>

// One application object for the whole test program (offscreen platform under ctest).
inline void ensureApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_capture";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

class RecordingFrameHost : public FrameHost {
public:
    bool updateRulers() const override { return updateRulersOption; }
    bool showRulers() const override { return showRulersOption; }
    void processPendingPaint() override { ++pendingPaints; }
    // Answers as the Remote Control does, through the command table.
    bool frameKey(int virtualKey, KeyModifiers modifiers) override
    {
        const std::optional<Command> command = commandForKey(virtualKey, modifiers, KeySource::CaptureFrame);
        if (command) {
            commands.push_back(*command);
        }
        return command.has_value();
    }
    void frameCloseRequest() override { commands.push_back(Command::Close); }

    bool updateRulersOption = true;
    bool showRulersOption = true;
    int pendingPaints = 0;
    std::vector<Command> commands;
};

// A platform of fakes over a screen of the given size and an in-memory user hive.
struct FakeFramePlatform : FakePlatform {
    explicit FakeFramePlatform(Size screenSize = {1920, 1080})
        : FakePlatform(Bitmap(screenSize.width, screenSize.height), "/tmp/")
    {
    }
};
