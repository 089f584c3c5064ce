// A PrintScreen watch for tests: the test presses the key.
#pragma once

#include "platform/KeyWatcher.h"

class FakeKeyWatcher : public KeyWatcher {
public:
    void start(std::function<void()> pressed) override
    {
        pressed_ = std::move(pressed);
        running_ = true;
    }
    void stop() override { running_ = false; }
    bool isRunning() const override { return running_; }

    void press()
    {
        if (running_ && pressed_) {
            pressed_();
        }
    }

private:
    std::function<void()> pressed_;
    bool running_ = false;
};
