// A window manager for tests: records the requests; its moves, window shapes and frames are
// switchable.
#pragma once

#include "platform/WindowManager.h"

#include <vector>

class FakeWindowManager : public WindowManager {
public:
    struct Move {
        NativeWindow window;
        Point anchor;
        int button;
    };

    void activateWindow(NativeWindow windowId) override { activated.push_back(windowId); }
    void minimize(NativeWindow window) override { minimized.push_back(window); }
    void clearMinimized(NativeWindow window) override { (void)window; }
    void skipTaskbar(NativeWindow window) override { skippedTaskbar.push_back(window); }
    bool startMove(NativeWindow window, Point anchor, int button) override
    {
        moves.push_back({window, anchor, button});
        return movesAvailable;
    }
    bool shapesAvailable() override { return shapes; }
    std::optional<FramedWindow> framedWindow(NativeWindow window) override
    {
        (void)window;
        return frame;
    }

    bool movesAvailable = false;
    bool shapes = true;
    // Nothing: the window's place comes from the toolkit.
    std::optional<FramedWindow> frame;
    std::vector<NativeWindow> activated;
    std::vector<NativeWindow> minimized;
    std::vector<NativeWindow> skippedTaskbar;
    std::vector<Move> moves;
};
