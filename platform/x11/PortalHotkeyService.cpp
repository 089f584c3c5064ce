#include "platform/x11/PortalHotkeyService.h"

#include "platform/x11/PortalRequestPath.h"
#include "platform/x11/PortalScreenSource.h"
#include "platform/x11/VirtualKeySymbols.h"
#include "platform/x11/X11Keyboard.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr char kGlobalShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kSession[] = "org.freedesktop.portal.Session";
constexpr int kCallWaitMs = 5000;

// One entry of BindShortcuts' list: the identifier and the shortcut's properties.
struct ShortcutEntry {
    QString id;
    QVariantMap properties;
};

} // namespace

Q_DECLARE_METATYPE(ShortcutEntry)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const ShortcutEntry& entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ShortcutEntry& entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

// The shortcut in the desktop's notation ("CTRL+SHIFT+c"); empty for a key without a keysym.
QString preferredTrigger(Shortcut shortcut)
{
    const std::string key = X11Keyboard::keysymIdentifier(keysymForVirtualKey(shortcutKey(shortcut)));
    if (key.empty()) {
        return {};
    }
    QString trigger;
    if ((shortcut & kShortcutCtrl) != 0) {
        trigger += "CTRL+";
    }
    if ((shortcut & kShortcutAlt) != 0) {
        trigger += "ALT+";
    }
    if ((shortcut & kShortcutShift) != 0) {
        trigger += "SHIFT+";
    }
    return trigger + QString::fromStdString(key);
}

} // namespace

PortalHotkeyService::PortalHotkeyService(HotkeyService& x11, std::vector<PortalShortcutName> names, QObject* parent)
    : QObject(parent), x11_(x11), names_(std::move(names))
{
    qDBusRegisterMetaType<ShortcutEntry>();
    qDBusRegisterMetaType<QList<ShortcutEntry>>();
    QDBusConnection::sessionBus().connect(kPortalService, kPortalPath, kGlobalShortcuts, "Activated", "osta{sv}", this,
                                          SLOT(takeActivation(QDBusMessage)));
}

PortalHotkeyService::~PortalHotkeyService()
{
    closeSession();
}

bool PortalHotkeyService::portalOffered()
{
    if (!PortalScreenSource::sessionBusConfigured()) {
        return false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage get =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, "org.freedesktop.DBus.Properties", "Get");
    get << QString(kGlobalShortcuts) << QString("version");
    return QDBusReply<QVariant>(bus.call(get, QDBus::Block, kCallWaitMs)).isValid();
}

bool PortalHotkeyService::registerHotkey(int id, Shortcut shortcut)
{
    // The grab still serves keys typed into X11 programs; the desktop decides the rest.
    x11_.registerHotkey(id, shortcut);
    shortcuts_[id] = shortcut;
    scheduleBinding();
    return true;
}

void PortalHotkeyService::unregisterHotkey(int id)
{
    x11_.unregisterHotkey(id);
    if (shortcuts_.erase(id) != 0) {
        scheduleBinding();
    }
}

void PortalHotkeyService::setHandler(Handler handler)
{
    handler_ = handler;
    x11_.setHandler(std::move(handler));
}

void PortalHotkeyService::scheduleBinding()
{
    // Switching on registers five hotkeys in a row: one session for all of them.
    if (bindingScheduled_) {
        return;
    }
    bindingScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        bindingScheduled_ = false;
        bind();
    });
}

void PortalHotkeyService::bind()
{
    // A session's shortcuts are bound once: a changed set needs a new session.
    closeSession();
    if (shortcuts_.empty()) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString token = QStringLiteral("zentrap_shortcuts%1").arg(++requests_);
    sessionRequest_ = portalRequestPath(bus, token);
    bus.connect(kPortalService, sessionRequest_, kPortalRequest, "Response", this,
                SLOT(takeSessionResponse(uint, QVariantMap)));
    QDBusMessage create =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcuts, "CreateSession");
    create << QVariantMap{{"handle_token", token}, {"session_handle_token", token}};
    const QDBusReply<QDBusObjectPath> reply = bus.call(create, QDBus::Block, kCallWaitMs);
    if (reply.isValid() && reply.value().path() != sessionRequest_) {
        // Portals older than the handle token announce on a path of their own.
        bus.disconnect(kPortalService, sessionRequest_, kPortalRequest, "Response", this,
                       SLOT(takeSessionResponse(uint, QVariantMap)));
        sessionRequest_ = reply.value().path();
        bus.connect(kPortalService, sessionRequest_, kPortalRequest, "Response", this,
                    SLOT(takeSessionResponse(uint, QVariantMap)));
    }
}

void PortalHotkeyService::takeSessionResponse(uint response, const QVariantMap& results)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(kPortalService, sessionRequest_, kPortalRequest, "Response", this,
                   SLOT(takeSessionResponse(uint, QVariantMap)));
    sessionRequest_.clear();
    const QVariant handle = results.value("session_handle");
    session_ = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (response != 0 || session_.isEmpty()) {
        // Refused: the hotkeys keep to X11 programs' keys.
        session_.clear();
        return;
    }
    QList<ShortcutEntry> entries;
    for (const auto& [id, shortcut] : shortcuts_) {
        const auto name = std::ranges::find(names_, id, &PortalShortcutName::id);
        if (name == names_.end()) {
            continue;
        }
        QVariantMap properties{{"description", QString::fromStdString(name->description)}};
        if (const QString trigger = preferredTrigger(shortcut); !trigger.isEmpty()) {
            properties.insert("preferred_trigger", trigger);
        }
        entries.push_back({QString::fromStdString(name->name), properties});
    }
    QDBusMessage bindCall =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcuts, "BindShortcuts");
    bindCall << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(entries) << QString()
             << QVariantMap{{"handle_token", QStringLiteral("zentrap_bind%1").arg(++requests_)}};
    // The desktop may ask the user about the keys: nothing waits for the answer.
    bus.asyncCall(bindCall);
}

void PortalHotkeyService::takeActivation(const QDBusMessage& activation)
{
    // Activated(session_handle o, shortcut_id s, timestamp t, options a{sv}).
    const QList<QVariant> arguments = activation.arguments();
    const QString session = arguments.value(0).value<QDBusObjectPath>().path();
    const QString shortcut = arguments.value(1).toString();
    if (session_.isEmpty() || session != session_) {
        return;
    }
    const auto name = std::ranges::find(names_, shortcut.toStdString(), &PortalShortcutName::name);
    if (name == names_.end() || !shortcuts_.contains(name->id)) {
        return;
    }
    // As the X11 presses: after the event that reported it, never inside its handling.
    QTimer::singleShot(0, this, [this, id = name->id] {
        if (handler_) {
            handler_(id);
        }
    });
}

void PortalHotkeyService::closeSession()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!sessionRequest_.isEmpty()) {
        bus.disconnect(kPortalService, sessionRequest_, kPortalRequest, "Response", this,
                       SLOT(takeSessionResponse(uint, QVariantMap)));
        sessionRequest_.clear();
    }
    if (!session_.isEmpty()) {
        bus.asyncCall(QDBusMessage::createMethodCall(kPortalService, session_, kSession, "Close"));
        session_.clear();
    }
}
