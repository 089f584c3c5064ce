// The PrintScreen watch: XInput2 raw key events on the root window report every press of the
// Print key to us while the focused program still receives it.
#pragma once

#include "platform/KeyWatcher.h"
#include "platform/x11/X11Keyboard.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

struct xcb_connection_t;

class X11KeyWatcher : public QObject, public KeyWatcher, private QAbstractNativeEventFilter {
public:
    // Without an X11 display or XInput 2 the watch never reports.
    X11KeyWatcher();
    ~X11KeyWatcher() override;

    void start(std::function<void()> pressed) override;
    void stop() override;
    bool isRunning() const override { return running_; }
    std::string limitation() const override { return limitation_; }
    void setLimitation(std::string text) { limitation_ = std::move(text); }

    bool isAvailable() const { return connection_ != nullptr && xinputOpcode_ != 0; }

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void selectRawKeys(bool on);
    void printPressed();
    void printReleased();
    void stillHeld();
    bool printKeyDown() const;
    void deliver();

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    uint8_t xinputOpcode_ = 0;
    std::unique_ptr<X11Keyboard> keyboard_;
    std::vector<uint8_t> printKeys_;
    std::function<void()> pressed_;
    bool running_ = false;
    bool queued_ = false;
    // While the key is held the watch reports it every 250 ms, as the key's own repeat would.
    QTimer heldTimer_;
    std::string limitation_;
};
