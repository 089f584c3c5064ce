// A window manager for tests: records the windows it was asked to activate.
#pragma once

#include "platform/WindowManager.h"

#include <vector>

class FakeWindowManager : public WindowManager {
public:
    void activateWindow(uint64_t windowId) override { activated.push_back(windowId); }

    std::vector<uint64_t> activated;
};
