#include "platform/x11/PortalRequestPath.h"

#include <QDBusConnection>

QString portalRequestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1).replace('.', '_');
    return QString(kPortalPath) + "/request/" + sender + "/" + token;
}
