// Tells the user once per run that settings could not be saved: the first failure is told, the
// ones after it are not, so a read-only settings folder does not raise a box at every close.
#pragma once

#include <functional>
#include <string>
#include <utility>

class SettingsWriteNotice {
public:
    explicit SettingsWriteNotice(std::function<void(const std::string& text)> tell) : tell_(std::move(tell)) {}

    void failed(const std::string& path, const std::string& reason)
    {
        if (told_ || !tell_) {
            return;
        }
        told_ = true;
        tell_("Settings could not be saved to " + path + ": " + reason);
    }

private:
    std::function<void(const std::string&)> tell_;
    bool told_ = false;
};
