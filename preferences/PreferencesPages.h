// The Preferences window's pages and what it keeps between openings: the page shown last and the
// skin picker's filter, read when the window is made and written when it goes.
#pragma once

#include "common/SettingTable.h"

#include <cstdint>

class SettingsKey;

enum PreferencesPage : int { kOptionsPage = 0, kHotkeysPage = 1 };

// The two numbers as stored: the skin picker's filter index and the page shown last.
struct StoredPreferencesPages {
    int skinFilter = 1;
    int page = kOptionsPage;
};

// Their stored names, in the order they are read and written (app/StoredSettings.h lists it).
SettingTable<StoredPreferencesPages> preferencesPagesTable();

class PreferencesPages {
public:
    int page() const { return page_; }
    // Brings `page` to the front; false when it is already there or is no page of the window.
    bool select(int page);

    // Reads the skin filter (into the process-wide filter index) and the page; when either
    // cannot be read, both take their defaults (filter 1, the Options page).
    void read(const SettingsKey& key);
    void write(SettingsKey& key) const;

    // The help topic for the page shown.
    const char* helpTopic() const;

private:
    int page_ = kOptionsPage;
};
