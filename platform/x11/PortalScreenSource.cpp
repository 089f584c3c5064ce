#include "platform/x11/PortalScreenSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kScreenshot[] = "org.freedesktop.portal.Screenshot";
constexpr char kRequest[] = "org.freedesktop.portal.Request";
// The desktop may ask the user's permission the first time: time for an answer.
constexpr int kAnswerWaitMs = 60000;

// Where the portal will announce the answer to a request with `token` (known before asking, so
// that no answer can come before we listen).
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1).replace('.', '_');
    return QString(kPath) + "/request/" + sender + "/" + token;
}

void copyRgb(const QImage& picture, int left, int top, int width, int height, Bitmap& target)
{
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min({left + width, picture.width(), left + target.width()});
    const int y1 = std::min({top + height, picture.height(), top + target.height()});
    for (int y = y0; y < y1; ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        uint8_t* row = target.row(y - top);
        for (int x = x0; x < x1; ++x) {
            const uint32_t rgb = source[x];
            uint8_t* pixel = row + 3 * (x - left);
            pixel[0] = static_cast<uint8_t>(rgb);
            pixel[1] = static_cast<uint8_t>(rgb >> 8);
            pixel[2] = static_cast<uint8_t>(rgb >> 16);
        }
    }
}

} // namespace

PortalScreenSource::PortalScreenSource(ScreenSource& x11, QObject* parent)
    : QObject(parent), DesktopPictureScreenSource(x11)
{
}

bool PortalScreenSource::sessionBusConfigured()
{
    // Without an address Qt would start a bus of its own, which outlives the program.
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

void PortalScreenSource::takeResponse(uint response, const QVariantMap& results)
{
    response_ = response;
    results_ = results;
}

std::optional<QString> PortalScreenSource::askForScreenshot()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        unreadable_ = "this is a Wayland session, and the session bus to ask its desktop for the screen is not there";
        return std::nullopt;
    }
    const QString token = QStringLiteral("zentrap%1").arg(++requests_);
    QString path = requestPath(bus, token);
    response_.reset();
    bus.connect(kService, path, kRequest, "Response", this, SLOT(takeResponse(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kScreenshot, "Screenshot");
    call << QString() << QVariantMap{{"handle_token", token}, {"interactive", false}, {"modal", false}};
    QDBusReply<QDBusObjectPath> reply = bus.call(call, QDBus::Block, 10000);
    if (!reply.isValid()) {
        bus.disconnect(kService, path, kRequest, "Response", this, SLOT(takeResponse(uint, QVariantMap)));
        unreadable_ = "this is a Wayland session, and its desktop offers no screenshot service (" +
                      reply.error().message().toStdString() + ")";
        return std::nullopt;
    }
    if (reply.value().path() != path) {
        // Portals older than the handle token announce on a path of their own.
        bus.disconnect(kService, path, kRequest, "Response", this, SLOT(takeResponse(uint, QVariantMap)));
        path = reply.value().path();
        bus.connect(kService, path, kRequest, "Response", this, SLOT(takeResponse(uint, QVariantMap)));
    }
    QDeadlineTimer deadline(kAnswerWaitMs);
    QEventLoop loop;
    while (!response_ && !deadline.hasExpired()) {
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bus.disconnect(kService, path, kRequest, "Response", this, SLOT(takeResponse(uint, QVariantMap)));
    if (!response_ || *response_ != 0) {
        unreadable_ =
            response_ ? "the desktop refused the screenshot" : "the desktop did not answer the screenshot request";
        return std::nullopt;
    }
    const QUrl uri(results_.value("uri").toString());
    if (!uri.isLocalFile()) {
        unreadable_ = "the desktop's screenshot is not a local file";
        return std::nullopt;
    }
    return uri.toLocalFile();
}

bool PortalScreenSource::copyPixels(int left, int top, int width, int height, Bitmap& target)
{
    const std::optional<QString> file = askForScreenshot();
    if (!file) {
        return false;
    }
    QImage picture(*file);
    // The desktop keeps every screenshot it was asked for; this one was only ever the capture's.
    QFile::remove(*file);
    if (picture.isNull()) {
        unreadable_ = "the desktop's screenshot could not be read";
        return false;
    }
    const Size screen = x11().primaryScreenSize();
    if (picture.width() != screen.width || picture.height() != screen.height) {
        // Another size means scaled outputs or a part of the desktop: no exact place for the hole.
        unreadable_ = "the desktop's screenshot (" + std::to_string(picture.width()) + " x " +
                      std::to_string(picture.height()) + ") does not match the X screen (" +
                      std::to_string(screen.width) + " x " + std::to_string(screen.height) + ")";
        return false;
    }
    copyRgb(picture.convertToFormat(QImage::Format_RGB32), left, top, width, height, target);
    unreadable_.clear();
    return true;
}
