// Watches the PrintScreen key without taking it from the program that has the keyboard.
#pragma once

#include <functional>
#include <string>

class KeyWatcher {
public:
    virtual ~KeyWatcher() = default;

    // `pressed` runs on the user-interface thread for each press of the key and again while it
    // is held, never queued more than once. Starting a running watch only replaces `pressed`.
    virtual void start(std::function<void()> pressed) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // What the desktop keeps from the watch, in words for the user; empty when nothing.
    virtual std::string limitation() const { return {}; }
};
