// A notification-area icon for tests: records whether it is shown and lets a test click it.
#pragma once

#include "platform/TrayService.h"

class FakeTrayService : public TrayService {
public:
    void setEvents(TrayIconEvents e) override { events = std::move(e); }
    void showIcon() override { shown = true; }
    void removeIcon() override { shown = false; }
    bool iconDocked() const override { return shown && trayPresent; }

    void releaseRightButton(Point pointer)
    {
        if (events.menuRequested) {
            events.menuRequested(pointer);
        }
    }
    void click()
    {
        if (events.clicked) {
            events.clicked();
        }
    }
    void doubleClick()
    {
        if (events.doubleClicked) {
            events.doubleClicked();
        }
    }

    TrayIconEvents events;
    bool shown = false;
    bool trayPresent = true;
};
