#include "hotkeys/GlobalHotkeys.h"

#include "platform/ShortcutText.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

} // namespace

std::string hotkeyFailureMessage(std::string list, int count)
{
    if (list.size() >= 2 && list[list.size() - 2] == ',') {
        list.resize(list.size() - 2);
    }
    std::string message;
    if (count == 1) {
        message = list + " hotkey is not registered." + kLineBreak + "Some other program has already used it.";
    } else {
        message = std::string("The following hotkeys are not registered:") + kLineBreak + list + ". " + kLineBreak +
                  "Some other program has already used it.";
    }
    return message + kLineBreak +
           "To disable or customize the hotkeys, open the Hotkeys page on the Preferences window.";
}

GlobalHotkeys::GlobalHotkeys(HotkeyService* service, FailureDialog failureDialog)
    : service_(service), failureDialog_(std::move(failureDialog))
{
}

void GlobalHotkeys::setEnabled(bool enable, const HotkeyShortcuts& shortcuts, bool reportFailures)
{
    if (enable == enabled_) {
        return;
    }
    enabled_ = enable;
    if (service_ == nullptr) {
        return;
    }
    if (!enable) {
        releaseAll();
        return;
    }
    std::string list;
    int failures = 0;
    for (int i = 0; i < 5; ++i) {
        if (shortcuts[i] == 0) {
            service_->unregisterHotkey(kHotkeyCapture + i); // a hotkey without a key is free
            continue;
        }
        if (!service_->registerHotkey(kHotkeyCapture + i, shortcuts[i])) {
            ++failures;
            list += shortcutText(shortcuts[i], [this](int key) { return service_->keyName(key); }) + ", ";
        }
    }
    if (failures == 0 || !reportFailures || !failureDialog_) {
        return;
    }
    if (failureDialog_(hotkeyFailureMessage(list, failures))) {
        enabled_ = false;
        releaseAll();
    }
}

void GlobalHotkeys::releaseAll()
{
    for (int id = kHotkeyCapture; id <= kHotkeyPrint; ++id) {
        service_->unregisterHotkey(id);
    }
}
