// One Zentrap per user and display. The first start holds a lock file in the user's runtime
// folder and listens on a local socket beside it; a later start finds the lock held, asks the
// running one through the socket to bring its Remote Control to the front, and ends. The kernel
// drops the lock of a process that dies, so a killed instance never blocks the next start.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,          // this process is the one instance; raiseRequested() tells of later starts
        AlreadyRunning, // another instance runs and has been asked to come to the front
        Unavailable,    // no private runtime folder or lock: run without the check
    };

    // `display` names the X display ("$DISPLAY"); `runtimeFolder` empty means
    // $XDG_RUNTIME_DIR, or a private folder in /tmp when that is not set.
    explicit SingleInstance(QString display, QString runtimeFolder = {}, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Claim claim();
    // Where the lock lives (empty before claim() or when unavailable).
    const QString& lockPath() const { return lockPath_; }

    // The display name reduced to what a file name may hold, one name per display whatever the
    // screen (":1.0" and ":1" are the same display).
    static QString displayKey(const QString& display);

signals:
    void raiseRequested();

private:
    QString privateRuntimeFolder() const;
    bool askRunningInstanceToRaise(const QString& socketPath);
    void listen(const QString& socketPath);

    QString display_;
    QString runtimeFolder_;
    QString lockPath_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};
