// Hotkeys as passive key grabs on the root window, through Qt's own xcb connection so that the
// key presses arrive with the program's other events.
#pragma once

#include "platform/HotkeyService.h"
#include "platform/x11/X11Keyboard.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <map>
#include <memory>
#include <set>
#include <vector>

struct xcb_connection_t;

class X11HotkeyService : public QObject, public HotkeyService, private QAbstractNativeEventFilter {
public:
    // Without an X11 display (another Qt platform) every registration is refused.
    X11HotkeyService();
    ~X11HotkeyService() override;

    bool registerHotkey(int id, Shortcut shortcut) override;
    void unregisterHotkey(int id) override;
    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    std::string limitation() const override { return limitation_; }
    void setLimitation(std::string text) { limitation_ = std::move(text); }
    std::string keyName(int virtualKey) const override;

    bool isAvailable() const { return connection_ != nullptr; }

private:
    struct Hotkey {
        Shortcut shortcut = 0;
        uint16_t modifiers = 0;
        // The key codes grabbed; empty when a changed keyboard map left the shortcut without a key.
        std::vector<uint8_t> keycodes;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // The keysym of a virtual key in the current layout.
    uint32_t keysymFor(int virtualKey) const;
    // The key codes that carry `keysym` in the current map.
    std::vector<uint8_t> keycodesFor(uint32_t keysym) const;
    bool heldByAnotherId(const Hotkey& hotkey) const;
    // Grabs every lock variant of every key code of the shortcut; all or nothing.
    bool grab(Hotkey& hotkey);
    void ungrab(const Hotkey& hotkey);
    // The map changed: a core MappingNotify (`event`), or the keyboard extension's notice of a new
    // layout (`event` null). Every hotkey is grabbed again on the keys of its keysym.
    void keyboardMapChanged(const void* event);
    void keyPressed(uint8_t keycode, uint16_t state);
    void deliver(int id);

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    std::unique_ptr<X11Keyboard> keyboard_;
    // The first event number of the keyboard extension (layout changes arrive as its events); 0
    // without it.
    uint8_t xkbFirstEvent_ = 0;
    std::map<int, Hotkey> hotkeys_;
    // Ids whose delivery is queued: a held key's repeats never pile up behind a slow command.
    std::set<int> queued_;
    Handler handler_;
    std::string limitation_;
};
