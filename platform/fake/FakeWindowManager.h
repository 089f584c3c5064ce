// A window manager for tests that records the requests it was given.
#pragma once

#include "platform/WindowManager.h"

#include <vector>

class FakeWindowManager : public WindowManager {
public:
    struct Move {
        WindowId window;
        Point anchor;
        int button;
    };

    void activateWindow(WindowId window) override { activated.push_back(window); }
    void minimize(WindowId window) override { minimized.push_back(window); }
    bool startMove(WindowId window, Point anchor, int button) override
    {
        moves.push_back({window, anchor, button});
        return offersMoves;
    }
    void skipTaskbar(WindowId window) override { keptOffTaskbar.push_back(window); }
    bool canShapeWindows() override { return shapes; }

    std::vector<WindowId> activated;
    std::vector<WindowId> minimized;
    std::vector<Move> moves;
    std::vector<WindowId> keptOffTaskbar;
    bool offersMoves = true;
    bool shapes = true;
};
