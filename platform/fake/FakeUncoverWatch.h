// A stand-in for the display's reports while a window leaves the screen: the test says when the
// window is gone, whether a window lies behind it and when that window has painted.
#pragma once

#include "platform/UncoverWatch.h"

#include <functional>
#include <optional>

class FakeUncoverWatch : public UncoverWatch {
public:
    void start(NativeWindow outer, Rect area) override
    {
        watched = outer;
        watchedArea = area;
        ++starts;
    }
    bool uncovered() override { return isUncovered ? isUncovered() : true; }
    bool windowBehind() override { return hasWindowBehind; }
    bool paintedSinceUncovered() override { return hasPainted ? hasPainted() : true; }
    void stop() override { ++stops; }

    std::function<bool()> isUncovered; // unset: at once
    bool hasWindowBehind = true;
    std::function<bool()> hasPainted; // unset: at once
    NativeWindow watched = 0;
    std::optional<Rect> watchedArea;
    int starts = 0;
    int stops = 0;
};
