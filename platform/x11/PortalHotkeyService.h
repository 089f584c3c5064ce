// System-wide hotkeys in a Wayland session through the desktop's GlobalShortcuts portal
// (xdg-desktop-portal): key grabs on XWayland see no keys typed into Wayland windows, the desktop
// does. The shortcuts are offered to the desktop with the stored keys as the preferred triggers;
// the desktop (and the user there) decides the keys. The X11 grabs stay for X11 programs' keys.
#pragma once

#include "platform/HotkeyService.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <map>
#include <string>
#include <vector>

// What the desktop shows of a hotkey: its identifier and what it does.
struct PortalShortcutName {
    int id = 0;
    std::string name;        // e.g. "capture"
    std::string description; // e.g. "Capture"
};

class PortalHotkeyService : public QObject, public HotkeyService {
    Q_OBJECT
public:
    // `x11` keeps the key grabs and outlives this object; `names` covers every hotkey id.
    PortalHotkeyService(HotkeyService& x11, std::vector<PortalShortcutName> names, QObject* parent = nullptr);
    ~PortalHotkeyService() override;

    // Whether the session bus has a desktop portal with the GlobalShortcuts interface.
    static bool portalOffered();

    bool registerHotkey(int id, Shortcut shortcut) override;
    void unregisterHotkey(int id) override;
    void setHandler(Handler handler) override;
    std::string keyName(int virtualKey) const override { return x11_.keyName(virtualKey); }

private slots:
    void takeSessionResponse(uint response, const QVariantMap& results);
    void takeActivation(const QDBusMessage& activation);

private:
    // The shortcuts changed: the desktop gets them anew in a new session once the change is whole.
    void scheduleBinding();
    void bind();
    void closeSession();

    HotkeyService& x11_;
    std::vector<PortalShortcutName> names_;
    Handler handler_;
    std::map<int, Shortcut> shortcuts_;
    bool bindingScheduled_ = false;
    QString sessionRequest_;
    QString session_;
    int requests_ = 0;
};
