#include "platform/x11/SingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kConnectWaitMs = 3000; // the running instance may still be starting up
constexpr qint64 kLongestRequest = 64;
// The X way to say "one per display": the owner of a selection named for the program.
constexpr char kSelectionName[] = "ZENTRAP";
constexpr char kSocketProperty[] = "_ZENTRAP_SOCKET";

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool isActionWord(const QString& word)
{
    if (word.isEmpty()) {
        return false;
    }
    return std::all_of(word.begin(), word.end(), [](QChar c) { return (c >= 'a' && c <= 'z') || c == '-'; });
}

// A folder only this user can enter: anything else could be someone's trap.
bool isPrivateFolder(const QString& path)
{
    struct stat info {};
    QByteArray native = path.toLocal8Bit();
    return ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 0077) == 0;
}

} // namespace

SingleInstance::SingleInstance(QString display, QString runtimeFolder, QObject* parent)
    : QObject(parent), display_(std::move(display)), runtimeFolder_(std::move(runtimeFolder))
{
}

SingleInstance::~SingleInstance()
{
    if (server_) {
        const QString path = server_->fullServerName();
        server_->close();
        QLocalServer::removeServer(path);
    }
    if (x_) {
        xcb_disconnect(x_); // gives up the selection
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_); // releases the lock
    }
}

QString SingleInstance::displayKey(const QString& display)
{
    QString key = display.isEmpty() ? QStringLiteral("default") : display;
    // ":1.0" names screen 0 of display ":1".
    int colon = key.lastIndexOf(':');
    int dot = key.lastIndexOf('.');
    if (colon >= 0 && dot > colon) {
        key.truncate(dot);
    }
    for (QChar& c : key) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '.' && c != '-') {
            c = '_';
        }
    }
    return key;
}

QString SingleInstance::privateRuntimeFolder() const
{
    if (!runtimeFolder_.isEmpty()) {
        return isPrivateFolder(runtimeFolder_) ? runtimeFolder_ : QString();
    }
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith('/') && isPrivateFolder(runtime)) {
        return runtime;
    }
    QString fallback = QStringLiteral("/tmp/zentrap-%1").arg(::geteuid());
    ::mkdir(fallback.toLocal8Bit().constData(), 0700);
    return isPrivateFolder(fallback) ? fallback : QString();
}

SingleInstance::Claim SingleInstance::claim(const QString& request)
{
    QString folder = privateRuntimeFolder();
    QString socketPath;
    QString heldSocket; // another instance's socket on this display key, found by the lock
    if (!folder.isEmpty()) {
        const QString base = folder + "/zentrap-" + displayKey(display_);
        if (!lockSocketPath(base, socketPath) && lockFd_ < 0 && !lockPath_.isEmpty()) {
            heldSocket = base + ".socket";
        }
    }
    QString otherSocket;
    switch (claimDisplay(socketPath, otherSocket)) {
    case Owner::Us:
        break;
    case Owner::Other:
        if (lockFd_ >= 0) {
            ::close(lockFd_);
            lockFd_ = -1;
        }
        delivered_ = !otherSocket.isEmpty() && sendRequest(otherSocket, request);
        return Claim::AlreadyRunning;
    case Owner::NoServer:
        if (!heldSocket.isEmpty()) {
            delivered_ = sendRequest(heldSocket, request);
            return Claim::AlreadyRunning;
        }
        if (lockFd_ < 0) {
            return Claim::Unavailable;
        }
        break;
    }
    if (!socketPath.isEmpty()) {
        listen(socketPath);
    }
    return Claim::First;
}

bool SingleInstance::lockSocketPath(const QString& base, QString& socketPath)
{
    lockPath_ = base + ".lock";
    lockFd_ = ::open(lockPath_.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        lockPath_.clear();
        return false;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        socketPath = base + ".socket";
        return true;
    }
    const int error = errno;
    ::close(lockFd_);
    lockFd_ = -1;
    if (error != EWOULDBLOCK) {
        lockPath_.clear();
        return false;
    }
    // Held by an instance on another server spelled alike (or one that lost its server): should
    // this one own its display, it listens on a name of its own.
    socketPath = base + "-" + QString::number(::getpid()) + ".socket";
    return false;
}

SingleInstance::Owner SingleInstance::claimDisplay(const QString& socketPath, QString& otherSocket)
{
    const QByteArray name = display_.toLocal8Bit();
    int screenNumber = 0;
    x_ = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    const xcb_screen_t* screen = nullptr;
    if (!xcb_connection_has_error(x_)) {
        screen = xcb_setup_roots_iterator(xcb_get_setup(x_)).data;
    }
    if (!screen) {
        xcb_disconnect(x_);
        x_ = nullptr;
        return Owner::NoServer;
    }
    const xcb_atom_t selection = internAtom(x_, kSelectionName);
    const xcb_atom_t socketProperty = internAtom(x_, kSocketProperty);
    const xcb_window_t window = xcb_generate_id(x_);
    xcb_create_window(x_, 0, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0,
                      nullptr);
    const QByteArray path = socketPath.toLocal8Bit();
    xcb_change_property(x_, XCB_PROP_MODE_REPLACE, window, socketProperty, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(path.size()), path.constData());
    // Looking and taking under one server grab: two starts at once cannot both find it free.
    xcb_grab_server(x_);
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(x_, xcb_get_selection_owner(x_, selection), nullptr));
    if (owner && owner->owner == XCB_NONE) {
        xcb_set_selection_owner(x_, window, selection, XCB_CURRENT_TIME);
        xcb_ungrab_server(x_);
        xcb_flush(x_);
        return Owner::Us;
    }
    if (owner) {
        Reply<xcb_get_property_reply_t> value(xcb_get_property_reply(
            x_, xcb_get_property(x_, 0, owner->owner, socketProperty, XCB_ATOM_STRING, 0, 1024), nullptr));
        if (value && value->format == 8) {
            otherSocket = QString::fromLocal8Bit(static_cast<const char*>(xcb_get_property_value(value.get())),
                                                 xcb_get_property_value_length(value.get()));
        }
    }
    xcb_ungrab_server(x_);
    xcb_disconnect(x_);
    x_ = nullptr;
    return Owner::Other;
}

void SingleInstance::listen(const QString& socketPath)
{
    // Holding the lock (or the display), whatever socket file is there belongs to a dead instance.
    QLocalServer::removeServer(socketPath);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath)) {
        return; // the instance still runs alone; later starts just cannot reach it
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine()) {
                    return;
                }
                const QString request = QString::fromLatin1(client->readLine(kLongestRequest)).trimmed();
                client->disconnectFromServer();
                if (request == QLatin1String("raise")) {
                    emit raiseRequested();
                } else if (isActionWord(request)) {
                    emit actionRequested(request);
                }
            });
        }
    });
}

bool SingleInstance::sendRequest(const QString& socketPath, const QString& request)
{
    QDeadlineTimer deadline(kConnectWaitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(500)) {
            socket.write(request.toLatin1() + '\n');
            bool sent = socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(1000);
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}
