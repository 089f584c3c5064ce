#include "platform/x11/SingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr int kConnectWaitMs = 3000; // the running instance may still be starting up

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
        server_->close();
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

SingleInstance::Claim SingleInstance::claim()
{
    QString folder = privateRuntimeFolder();
    if (folder.isEmpty()) {
        return Claim::Unavailable;
    }
    QString base = folder + "/zentrap-" + displayKey(display_);
    lockPath_ = base + ".lock";
    QString socketPath = base + ".socket";
    lockFd_ = ::open(lockPath_.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        lockPath_.clear();
        return Claim::Unavailable;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        listen(socketPath);
        return Claim::First;
    }
    int error = errno;
    ::close(lockFd_);
    lockFd_ = -1;
    if (error != EWOULDBLOCK) {
        lockPath_.clear();
        return Claim::Unavailable;
    }
    askRunningInstanceToRaise(socketPath);
    return Claim::AlreadyRunning;
}

void SingleInstance::listen(const QString& socketPath)
{
    // Holding the lock, whatever socket file is there belongs to a dead instance.
    QLocalServer::removeServer(socketPath);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath)) {
        return; // the instance still runs alone; later starts just cannot raise it
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->canReadLine() && client->readLine() == kRaiseRequest) {
                    emit raiseRequested();
                }
                client->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::askRunningInstanceToRaise(const QString& socketPath)
{
    QDeadlineTimer deadline(kConnectWaitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(500)) {
            socket.write(kRaiseRequest);
            bool sent = socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(1000);
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}
