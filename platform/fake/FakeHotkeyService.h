// A hotkey service for tests: remembers what is registered, refuses chosen shortcuts, and
// presses hotkeys on request.
#pragma once

#include "platform/HotkeyService.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class FakeHotkeyService : public HotkeyService {
public:
    bool registerHotkey(int id, Shortcut shortcut) override
    {
        calls.push_back("register " + std::to_string(id));
        registered.erase(id);
        if (refused.count(shortcut) != 0) {
            return false;
        }
        registered[id] = shortcut;
        return true;
    }
    void unregisterHotkey(int id) override
    {
        calls.push_back("unregister " + std::to_string(id));
        registered.erase(id);
    }
    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    std::string keyName(int virtualKey) const override
    {
        const auto found = keyNames.find(virtualKey);
        return found != keyNames.end() ? found->second : std::string();
    }

    // A press of a registered hotkey, delivered as the real service delivers it.
    void press(int id)
    {
        if (registered.count(id) != 0 && handler_) {
            handler_(id);
        }
    }

    std::set<Shortcut> refused;
    std::map<int, Shortcut> registered;
    std::map<int, std::string> keyNames;
    std::vector<std::string> calls;

private:
    Handler handler_;
};
