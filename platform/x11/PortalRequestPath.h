// Where the desktop portal (xdg-desktop-portal) announces the answer to a request: known before
// asking, so that no answer can come before the program listens.
#pragma once

#include <QString>

class QDBusConnection;

inline constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kPortalRequest[] = "org.freedesktop.portal.Request";

// The request object's path for a request made on `bus` with the handle token `token`.
QString portalRequestPath(const QDBusConnection& bus, const QString& token);
