// The application's icon in the desktop's notification area, and what the user does with it.
#pragma once

#include "common/Geometry.h"

#include <functional>

struct TrayIconEvents {
    // The right button was released over the icon; `pointer` is where, in screen pixels.
    std::function<void(Point pointer)> menuRequested;
    // A left click that did not become the first half of a double-click.
    std::function<void()> clicked;
    std::function<void()> doubleClicked;
    // The notification area the icon sat in went away (its host ended or another took its place).
    std::function<void()> trayLost;
};

class TrayService {
public:
    virtual ~TrayService() = default;

    virtual void setEvents(TrayIconEvents events) = 0;
    // Puts the icon in the notification area for the rest of the run: at once when there is one,
    // otherwise as soon as one appears, and again whenever it comes back after going away.
    virtual void showIcon() = 0;
    virtual void removeIcon() = 0;
    // Whether the icon sits in a notification area now.
    virtual bool iconDocked() const = 0;
};
